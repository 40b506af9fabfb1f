#pragma once
// Animations and their player.

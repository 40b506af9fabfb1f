#pragma once
// Flow-chart shapes.

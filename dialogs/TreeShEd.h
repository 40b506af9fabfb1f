#pragma once
// Shape editor dialog.

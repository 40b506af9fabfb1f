#pragma once
// The panel base: zoom, panning, printing and rendering into images.

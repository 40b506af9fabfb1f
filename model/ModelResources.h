#pragma once
// The model's compiled-in resources: the node pictures of the shared image
// pool, one 16-colour bitmap per picture, at ":/dendrix/images/<NAME>.bmp"
// (for example ":/dendrix/images/TREEFLDCLOSE.bmp"). The top-left pixel of
// each picture holds its transparent colour.

// Registers the resources of the (static) model library. The program calls
// it at start-up, before the first picture is loaded; until then the paths
// above do not exist. Calling it again does nothing.
void InitModelResources();

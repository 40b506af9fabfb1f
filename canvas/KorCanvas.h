#pragma once
// The drawing foundation: pens, brushes, fonts, gradients, shadows,
// pictures, view options, the canvas and transparency blends.

#include "canvas/Canvas3D.h"
#include "canvas/CanvasTypes.h"
#include "canvas/ChartBrush.h"
#include "canvas/ChartPen.h"
#include "canvas/GraphicsObject.h"
#include "canvas/KorBlend.h"
#include "canvas/KorCanvas3D.h"
#include "canvas/KorCanvasBase.h"
#include "canvas/KorFont.h"
#include "canvas/KorGradient.h"
#include "canvas/KorShadow.h"
#include "canvas/Picture.h"
#include "canvas/View3DOptions.h"

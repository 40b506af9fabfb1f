#pragma once
// Rulers beside a diagram: panels bound to a diagram (TCustomPanelTreeLink)
// that listen to its drawings and pointer moves. A ruler aligned left or
// right runs vertically, any other horizontally; it shows a tick for every
// grid line in view, a big one with a label at every big grid line, and a
// marker line where the pointer is.
//
// The ticks and labels are drawn through a canvas into a buffer when the
// diagram has been drawn; the marker is drawn over a copy of that buffer,
// so following the pointer never redraws the ticks.

#include "canvas/ChartPen.h"
#include "canvas/KorCanvas3D.h"
#include "canvas/KorFont.h"
#include "canvas/PanelEvents.h"
#include "canvas/PanelNoCaption.h"

#include <QImage>
#include <QMetaObject>
#include <memory>

class TCustomTree;

// A panel bound to a diagram: binding makes it one of the diagram's
// listeners, unbinding (or the diagram's end) lets go of it.
class TCustomPanelTreeLink : public TCustomPanelNoCaption, public TKorEventListener
{
    Q_OBJECT
public:
    explicit TCustomPanelTreeLink(QWidget *parent = nullptr);
    ~TCustomPanelTreeLink() override;

    TCustomTree *Tree() const { return FTree; }
    void SetTree(TCustomTree *tree);

    void KorEvent(TKorEvent &event) override { Q_UNUSED(event); }

protected:
    // The binding changed (a new diagram, none, or the diagram went away).
    virtual void TreeChanged() {}

private:
    TCustomTree *FTree = nullptr;
    QMetaObject::Connection FGone;
};

DX_ENUM(TRulerUnits, ruPixels, ruCentimeters, ruInches)

class TTreeRuler;
// Asked for every label: the value in diagram units and the text shown.
using TRulerGetUnitEvent = TEvent<TTreeRuler *, int, QString &>;

class TTreeRuler : public TCustomPanelTreeLink
{
    Q_OBJECT
public:
    explicit TTreeRuler(QWidget *parent = nullptr);
    ~TTreeRuler() override;

    // Left or right alignment makes a vertical ruler.
    bool Vertical() const { return Align() == alLeft || Align() == alRight; }
    TKorFont *Font() const { return FFont.get(); }
    TChartPen *Marker() const { return FMarker.get(); }
    bool ShowUnits() const { return FShowUnits; }
    void SetShowUnits(bool value);
    TRulerUnits Units() const { return FUnits; }
    void SetUnits(TRulerUnits value);
    TRulerGetUnitEvent OnGetUnit;

    // The label of a big tick at `value` diagram units.
    QString UnitText(int value);
    // Where the marker line is (ruler pixels along its length), -1 none.
    int MarkerPosition() const { return FMarkerPosition; }
    // Draws the ticks and labels again (at the next paint).
    void Redraw();

    void KorEvent(TKorEvent &event) override;
    QSize sizeHint() const override;

    // The ruler's picture without the marker, as the last paint drew it.
    const QImage &Picture() const { return FPicture; }

protected:
    void TreeChanged() override;
    void PanelChanged() override { Redraw(); }
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void DrawPicture();
    void DrawTicks(TKorCanvas3D &canvas);
    // The shift from the diagram's pixels to the ruler's along its length.
    int Shift() const;
    QRect MarkerLine(int position) const;

    std::unique_ptr<TKorFont> FFont;
    std::unique_ptr<TChartPen> FMarker;
    TKorCanvas3D FCanvas;
    QImage FPicture;
    bool FDirty = true;
    bool FShowUnits = true;
    TRulerUnits FUnits = ruPixels;
    int FMarkerPosition = -1;
};

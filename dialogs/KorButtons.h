#pragma once
// The property buttons: a push button bound to one colour property of an
// object, showing a swatch of it, and one bound to a pen, showing a short
// line drawn with it. Clicking edits the value with the colour or pen
// dialog, writes it back through the edit target, repaints, and then
// emits Edited (the button's own click handler).

#include "core/Colors.h"
#include "dialogs/KorEditTarget.h"

#include <QPushButton>
#include <functional>

class TPersistent;
class TPen;

class TButtonColor : public QPushButton
{
    Q_OBJECT
public:
    explicit TButtonColor(const QString &caption = QString(), QWidget *parent = nullptr);

    // Binds the button to the colour property `property` of `object`
    // (null: unbound, the button does nothing); changes go through `target`
    // (whose path leads to `object`).
    void LinkProperty(TPersistent *object, const QString &property, const TEditTarget &target = {});
    // Binds the button to a value read and written by the owner (a colour
    // several elements share).
    void LinkValue(std::function<TColor()> get, std::function<void(TColor)> set);
    bool Linked() const { return static_cast<bool>(FGet); }

    // The bound colour (clNone when unbound).
    TColor SymbolColor() const;
    // Runs the colour dialog on the bound value and writes back a changed
    // colour; answers whether it changed. What a click does before Edited.
    bool EditValue();
    // Room for the swatch beside the caption.
    QSize sizeHint() const override;

signals:
    void Edited();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::function<TColor()> FGet;
    std::function<void(TColor)> FSet;
};

class TButtonPen : public QPushButton
{
    Q_OBJECT
public:
    explicit TButtonPen(const QString &caption = QString(), QWidget *parent = nullptr);

    void LinkPen(TPen *pen, const TEditTarget &target = {});
    // Binds the button to a pen made on first use: `source(false)` answers
    // the pen to show without making it (null: nothing shown), and
    // `source(true)` the pen to edit.
    void LinkPenSource(std::function<TPen *(bool create)> source, const TEditTarget &target = {});
    // The pen shown (never made by asking).
    TPen *Pen() const { return FSource ? FSource(false) : nullptr; }
    // Runs the pen dialog; answers whether it was confirmed.
    bool EditValue();
    QSize sizeHint() const override;

signals:
    // After every click, with the dialog's answer.
    void Edited(bool confirmed);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::function<TPen *(bool)> FSource;
    TEditTarget FTarget;
};

// Draws a sample of a pen as a line on a painter (the pen's colour, width,
// style and small dots, as diagrams draw it).
class QPainter;
void DrawPenSample(QPainter &painter, const TPen &pen, QPoint from, QPoint to);
// The Qt pen that shows a pen of the program in samples.
QPen SamplePen(const TPen &pen);

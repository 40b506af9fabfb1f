#include "dialogs/KorButtons.h"

#include "canvas/ChartPen.h"
#include "core/PropAccess.h"
#include "dialogs/KorDialogs.h"
#include "dialogs/KorPenDlg.h"

#include <QPainter>
#include <QPen>

// ---- Samples

QPen SamplePen(const TPen &pen)
{
    QPen q(ToQColor(pen.Color()));
    q.setWidth(std::max(1, std::min(pen.Width(), 20)));
    const auto *chart = dynamic_cast<const TChartPen *>(&pen);
    if (chart && chart->SmallDots()) {
        q.setWidth(1);
        q.setDashPattern({1, 1});
        return q;
    }
    switch (pen.Style()) {
    case psDash:
        q.setStyle(Qt::DashLine);
        break;
    case psDot:
        q.setStyle(Qt::DotLine);
        break;
    case psDashDot:
        q.setStyle(Qt::DashDotLine);
        break;
    case psDashDotDot:
        q.setStyle(Qt::DashDotDotLine);
        break;
    case psClear:
        q.setStyle(Qt::NoPen);
        break;
    default:
        q.setStyle(Qt::SolidLine);
        break;
    }
    if (chart) {
        static const Qt::PenCapStyle caps[] = {Qt::RoundCap, Qt::SquareCap, Qt::FlatCap};
        q.setCapStyle(caps[chart->EndStyle() <= esFlat ? chart->EndStyle() : 0]);
    }
    return q;
}

void DrawPenSample(QPainter &painter, const TPen &pen, QPoint from, QPoint to)
{
    const auto *chart = dynamic_cast<const TChartPen *>(&pen);
    if (chart && !chart->Visible())
        return;
    painter.save();
    painter.setPen(SamplePen(pen));
    painter.drawLine(from, to);
    painter.restore();
}

// ---- Colour button

TButtonColor::TButtonColor(const QString &caption, QWidget *parent) : QPushButton(caption, parent)
{
    connect(this, &QPushButton::clicked, this, [this] {
        EditValue();
        emit Edited();
    });
}

void TButtonColor::LinkProperty(TPersistent *object, const QString &property, const TEditTarget &target)
{
    if (!object) {
        FGet = nullptr;
        FSet = nullptr;
        update();
        return;
    }
    FGet = [object, property] { return static_cast<TColor>(GetOrdProp(*object, property)); };
    FSet = [object, property, target](TColor c) {
        target.Edit(property, [&] { SetOrdProp(*object, property, c); });
    };
    update();
}

void TButtonColor::LinkValue(std::function<TColor()> get, std::function<void(TColor)> set)
{
    FGet = std::move(get);
    FSet = std::move(set);
    update();
}

TColor TButtonColor::SymbolColor() const
{
    return FGet ? FGet() : clNone;
}

bool TButtonColor::EditValue()
{
    if (!FGet)
        return false;
    const TColor old = FGet();
    const TColor chosen = EditColor(window(), old);
    // The same colour changes nothing (and marks nothing modified).
    if (chosen == old)
        return false;
    if (FSet)
        FSet(chosen);
    update();
    return true;
}

QSize TButtonColor::sizeHint() const
{
    return QPushButton::sizeHint() + QSize(24, 0);
}

void TButtonColor::paintEvent(QPaintEvent *event)
{
    QPushButton::paintEvent(event);
    const TColor c = SymbolColor();
    if (c == clNone)
        return;
    const int w = width();
    const int h = height();
    const QRect swatch(QPoint(w - 19, h - 3 * (h / 4)), QPoint(w - 6, h - h / 4));
    QPainter p(this);
    p.setPen(isEnabled() ? QPen(Qt::black) : QPen(Qt::NoPen));
    p.setBrush(ToQColor(c == clDefault ? clBlack : c));
    p.drawRect(swatch.adjusted(0, 0, -1, -1));
}

// ---- Pen button

TButtonPen::TButtonPen(const QString &caption, QWidget *parent) : QPushButton(caption, parent)
{
    connect(this, &QPushButton::clicked, this, [this] {
        const bool ok = EditValue();
        emit Edited(ok);
    });
}

void TButtonPen::LinkPen(TPen *pen, const TEditTarget &target)
{
    if (pen)
        LinkPenSource([pen](bool) { return pen; }, target);
    else
        LinkPenSource(nullptr, target);
}

void TButtonPen::LinkPenSource(std::function<TPen *(bool)> source, const TEditTarget &target)
{
    FSource = std::move(source);
    FTarget = target;
    update();
}

bool TButtonPen::EditValue()
{
    TPen *pen = FSource ? FSource(true) : nullptr;
    if (!pen)
        return false;
    const bool ok = EditPen(window(), pen, FTarget);
    if (ok)
        update();
    return ok;
}

QSize TButtonPen::sizeHint() const
{
    return QPushButton::sizeHint() + QSize(24, 0);
}

void TButtonPen::paintEvent(QPaintEvent *event)
{
    QPushButton::paintEvent(event);
    const TPen *pen = Pen();
    if (!pen)
        return;
    QPainter p(this);
    DrawPenSample(p, *pen, QPoint(width() - 17, height() / 2), QPoint(width() - 6, height() / 2));
}

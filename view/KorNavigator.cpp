#include "view/KorNavigator.h"

#include "view/PanelBinding.h"
#include "view/ViewConst.h"

#include "canvas/KorPanel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace {

// The two glyphs of a button: black when enabled, grey when not.
QPixmap Glyph(int index, bool enabled)
{
    QPixmap pm(12, 12);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QColor c = enabled ? QColor(0, 0, 0) : QColor(128, 128, 128);
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    const QPolygon left{{8, 2}, {8, 10}, {4, 6}};
    const QPolygon right{{4, 2}, {4, 10}, {8, 6}};
    switch (index) {
    case nbFirst:
        p.drawRect(2, 2, 2, 9);
        p.drawPolygon(left.translated(1, 0));
        break;
    case nbPrior: p.drawPolygon(left); break;
    case nbNext: p.drawPolygon(right); break;
    case nbLast:
        p.drawPolygon(right.translated(-1, 0));
        p.drawRect(8, 2, 2, 9);
        break;
    case nbInsert:
        p.drawRect(5, 2, 2, 8);
        p.drawRect(2, 5, 8, 2);
        break;
    case nbDelete: p.drawRect(2, 5, 8, 2); break;
    case nbEdit: p.drawPolygon(QPolygon{{2, 9}, {10, 9}, {6, 3}}); break;
    case nbPost:
        p.setPen(QPen(c, 2));
        p.drawPolyline(QPolygon{{2, 6}, {5, 9}, {10, 2}});
        break;
    default:
        p.setPen(QPen(c, 2));
        p.drawLine(3, 3, 9, 9);
        p.drawLine(9, 3, 3, 9);
        break;
    }
    return pm;
}

const TMessageText &DefaultHint(int index)
{
    static const TMessageText *const hints[TCustomKorNavigator::kButtonCount] = {
        &SNavFirst, &SNavPrior, &SNavNext, &SNavLast, &SNavInsert, &SNavDelete, &SNavEdit, &SNavPost, &SNavCancel};
    return *hints[index];
}

} // namespace

// ---------------------------------------------------------------------------
// TKorNavButton

TKorNavButton::TKorNavButton(TCustomKorNavigator *navigator, int index)
    : QToolButton(navigator), FNavigator(navigator), FIndex(index)
{
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
    setObjectName(QStringLiteral("KorNav_%1").arg(EnumInfoOf<TKorNavigateBtn>().Name(index).mid(2)));
    QIcon icon;
    icon.addPixmap(Glyph(index, true), QIcon::Normal);
    icon.addPixmap(Glyph(index, false), QIcon::Disabled);
    setIcon(icon);
}

void TKorNavButton::mousePressEvent(QMouseEvent *event)
{
    QToolButton::mousePressEvent(event);
    if (event->button() != Qt::LeftButton || !isEnabled())
        return;
    FNavigator->setFocus(Qt::MouseFocusReason);
    FNavigator->FocusButton(FIndex);
    if (!FTimer) {
        FTimer = new QTimer(this);
        connect(FTimer, &QTimer::timeout, this, &TKorNavButton::RepeatTick);
    }
    FTimer->start(kFirstDelay);
    // The first step comes with the press.
    try {
        FNavigator->ButtonClick(FIndex);
    } catch (...) {
        FTimer->stop();
        throw;
    }
}

void TKorNavButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (FTimer)
        FTimer->stop();
    // The press did the click: the release only lets go.
    const QSignalBlocker quiet(this);
    QToolButton::mouseReleaseEvent(event);
}

void TKorNavButton::RepeatTick()
{
    if (!FTimer)
        return;
    FTimer->setInterval(kRepeatDelay);
    if (!isDown() || !isEnabled()) {
        FTimer->stop();
        return;
    }
    try {
        FNavigator->ButtonClick(FIndex);
    } catch (...) {
        FTimer->stop();
        throw;
    }
}

void TKorNavButton::paintEvent(QPaintEvent *event)
{
    QToolButton::paintEvent(event);
    if (!FNavigator->hasFocus() || FNavigator->FocusedButton() != FIndex)
        return;
    QStylePainter p(this);
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = rect().adjusted(3, 3, -3, -3);
    if (isDown())
        focus.rect.translate(1, 1);
    p.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
}

// ---------------------------------------------------------------------------
// TCustomKorNavigator

TCustomKorNavigator::TCustomKorNavigator(QWidget *parent)
    : TCustomPanelNoCaption(parent),
      FBinding(std::make_unique<TPanelBinding>(this, this, [this] { BindingChanged(); }))
{
    SetBevelOuter(bvNone);
    SetBevelInner(bvNone);
    setFocusPolicy(Qt::TabFocus);
    // A bar of its own height wherever it is laid out.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    for (int i = 0; i < kButtonCount; ++i) {
        auto *b = new TKorNavButton(this, i);
        b->setEnabled(false);
        b->setGeometry(i * kButtonWidth, 0, kButtonWidth, kButtonHeight);
        b->setVisible(i < nbInsert);
        FButtons[static_cast<size_t>(i)] = b;
    }
    ApplyHints();
    resize(241, 25);
    LayoutButtons();
}

TCustomKorNavigator::~TCustomKorNavigator() = default;

TCustomKorPanel *TCustomKorNavigator::Panel() const
{
    return FBinding->Panel();
}

void TCustomKorNavigator::SetPanel(TCustomKorPanel *panel)
{
    FBinding->Bind(panel);
}

void TCustomKorNavigator::SetHints(const QStringList &hints)
{
    FHints = hints;
    ApplyHints();
}

void TCustomKorNavigator::ApplyHints()
{
    for (int i = 0; i < kButtonCount; ++i) {
        const QString own = i < FHints.size() ? FHints[i] : QString();
        Button(i)->setToolTip(own.isEmpty() ? DefaultHint(i).Text() : own);
    }
}

void TCustomKorNavigator::ButtonClick(int index)
{
    Navigate(index);
    RefreshButtons();
    Fire(OnButtonClicked, this, index);
}

void TCustomKorNavigator::FocusButton(int index)
{
    if (index == FFocused)
        return;
    const int old = FFocused;
    FFocused = index;
    Button(old)->update();
    Button(index)->update();
}

void TCustomKorNavigator::LayoutButtons()
{
    int n = 0;
    for (TKorNavButton *b : FButtons)
        n += !b->isHidden();
    n = std::max(1, n);
    // Never smaller than its buttons.
    int w = std::max(width(), n * kButtonWidth);
    const int h = std::max(height(), kButtonHeight);
    const int base = w / n;
    // Not aligned to its parent: exactly as wide as its buttons.
    if (Align() == alNone)
        w = n * base;
    if (w != width() || h != height())
        resize(w, h);
    const int total = w;
    // The pixels left over go one each to buttons spread along the row.
    const int rest = total - n * base;
    int error = n / 2;
    int x = 0;
    for (TKorNavButton *b : FButtons) {
        if (b->isHidden()) {
            b->setGeometry(w + 1, 0, base, h);
            continue;
        }
        int extra = 0;
        if (rest != 0) {
            error -= rest;
            if (error < 0) {
                error += n;
                extra = 1;
            }
        }
        b->setGeometry(x, 0, base + extra, BorderWidth() > 0 ? h - 4 : h);
        x += base + extra;
    }
}

void TCustomKorNavigator::paintEvent(QPaintEvent *)
{
    // Behind the buttons, the colour of the window it sits on.
    QPainter p(this);
    p.fillRect(rect(), palette().window());
}

void TCustomKorNavigator::resizeEvent(QResizeEvent *event)
{
    TCustomPanelNoCaption::resizeEvent(event);
    LayoutButtons();
}

void TCustomKorNavigator::keyPressEvent(QKeyEvent *event)
{
    auto visible = [this](int i) { return !Button(i)->isHidden(); };
    switch (event->key()) {
    case Qt::Key_Space:
        if (Button(FFocused)->isEnabled() && visible(FFocused))
            ButtonClick(FFocused);
        return;
    case Qt::Key_Left:
        for (int i = FFocused - 1; i >= 0; --i)
            if (visible(i)) {
                FocusButton(i);
                break;
            }
        return;
    case Qt::Key_Right:
        for (int i = FFocused + 1; i < kButtonCount; ++i)
            if (visible(i)) {
                FocusButton(i);
                break;
            }
        return;
    default: TCustomPanelNoCaption::keyPressEvent(event);
    }
}

void TCustomKorNavigator::focusInEvent(QFocusEvent *event)
{
    TCustomPanelNoCaption::focusInEvent(event);
    Button(FFocused)->update();
}

void TCustomKorNavigator::focusOutEvent(QFocusEvent *event)
{
    TCustomPanelNoCaption::focusOutEvent(event);
    Button(FFocused)->update();
}

void TCustomKorNavigator::changeEvent(QEvent *event)
{
    TCustomPanelNoCaption::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        ApplyHints();
}

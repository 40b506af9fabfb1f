#pragma once
// A bar of flat buttons that moves through something: first, prior, next,
// last, and (for subclasses that need them) insert, delete, edit, post and
// cancel. A subclass binds it to the panel it navigates, performs the moves
// and decides which buttons are enabled.
//
// A button acts when pressed and, while held, again after 400 ms and then
// every 100 ms; releasing it acts no more.

#include "canvas/PanelEvents.h"
#include "canvas/PanelNoCaption.h"
#include "core/Events.h"

#include <QMetaObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QToolButton>
#include <array>
#include <memory>

class TCustomKorNavigator;
class TCustomKorPanel;
class TPanelBinding;

DX_ENUM(TKorNavigateBtn, nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete, nbEdit, nbPost, nbCancel)

class TKorNavButton : public QToolButton
{
    Q_OBJECT
public:
    static constexpr int kFirstDelay = 400;
    static constexpr int kRepeatDelay = 100;

    TKorNavButton(TCustomKorNavigator *navigator, int index);
    int Index() const { return FIndex; }
    // The repeat timer, made at the first press (null before).
    QTimer *RepeatTimer() const { return FTimer; }
    // A tick of the repeat timer: 100 ms from now on, and another click
    // while the button is still held.
    void RepeatTick();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    TCustomKorNavigator *FNavigator;
    int FIndex;
    QTimer *FTimer = nullptr;
};

using TNavButtonClickedEvent = TEvent<TCustomKorNavigator *, int>;

class TCustomKorNavigator : public TCustomPanelNoCaption, public TKorEventListener
{
    Q_OBJECT
public:
    static constexpr int kButtonCount = 9;
    static constexpr int kButtonWidth = 20;
    static constexpr int kButtonHeight = 18;

    explicit TCustomKorNavigator(QWidget *parent = nullptr);
    ~TCustomKorNavigator() override;

    TKorNavButton *Button(int index) const { return FButtons[static_cast<size_t>(index)]; }
    int FocusedButton() const { return FFocused; }
    // Lines that replace the hints of the buttons with their index (empty
    // lines keep the default).
    const QStringList &Hints() const { return FHints; }
    void SetHints(const QStringList &hints);
    // The panel navigated; the navigator lets go of it when it is destroyed.
    TCustomKorPanel *Panel() const;

    // Runs the move of a button, refreshes the buttons, then tells
    // OnButtonClicked.
    void ButtonClick(int index);
    // Sets each button's enabled state.
    virtual void RefreshButtons() {}
    // Prints what the navigator moves through.
    virtual void Print() {}
    void KorEvent(TKorEvent &event) override { Q_UNUSED(event); }

    // Places the visible buttons side by side; called on every resize.
    void LayoutButtons();
    // The default hints (after a change of language, too).
    void ApplyHints();

    TNavButtonClickedEvent OnButtonClicked;

protected:
    void SetPanel(TCustomKorPanel *panel);
    // What a button does (index 0-8).
    virtual void Navigate(int index) { Q_UNUSED(index); }
    // The panel changed or went away.
    virtual void BindingChanged() {}

    QSize sizeHint() const override { return QSize(241, 25); }
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    friend class TKorNavButton;
    void FocusButton(int index);

    std::array<TKorNavButton *, kButtonCount> FButtons{};
    std::unique_ptr<TPanelBinding> FBinding;
    QStringList FHints;
    int FFocused = 0;
};

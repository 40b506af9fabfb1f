#pragma once
// The editor window's status bar: eight panels (the element under the
// mouse, its text or a mode's prompt, a position, the page, "Modified", and
// the Caps, Num and Scroll Lock states), the lock states refreshed once a
// second.
//
// Lock states come from the display where it reports them (the keyboard
// indicators of an X11 display); elsewhere the bar follows the lock keys
// the program itself sees pressed, starting from "off".

#include <QStatusBar>
#include <QTimer>
#include <array>
#include <functional>

class QLabel;

struct TKeyLockStates
{
    bool Caps = false;
    bool Num = false;
    bool Scroll = false;
};

class TTreeStatusBar : public QStatusBar
{
    Q_OBJECT
public:
    static constexpr int kPanelCount = 8;
    enum TPanel { spName = 0, spText = 1, spPosition = 2, spPage = 3, spModified = 4, spCaps = 5, spNum = 6, spScroll = 7 };
    // What the text panel leaves to the others of the window's width.
    static constexpr int kTextPanelMargin = 446;

    explicit TTreeStatusBar(QWidget *parent = nullptr);
    ~TTreeStatusBar() override;

    QString PanelText(int panel) const;
    void SetPanelText(int panel, const QString &text);
    QLabel *Panel(int panel) const;
    // The text panel takes the form's width less the others'.
    void FormResized(int formWidth);

    void SetModifiedShown(bool modified);

    // The one-second refresh of the lock panels.
    QTimer &KeyTimer() { return FKeyTimer; }
    void StartKeyTimer() { FKeyTimer.start(); }
    void StopKeyTimer() { FKeyTimer.stop(); }
    // Reads the lock states now and shows them.
    void RefreshKeyStates();
    // Where the states come from (tests install their own).
    using TKeyStateSource = std::function<TKeyLockStates()>;
    void SetKeyStateSource(TKeyStateSource source) { FSource = std::move(source); }
    // The platform's lock states: the display's indicators where it has
    // them, else the lock keys this program saw pressed.
    static TKeyLockStates PlatformKeyStates();

private:
    std::array<QLabel *, kPanelCount> FPanels{};
    QTimer FKeyTimer;
    TKeyStateSource FSource;
};

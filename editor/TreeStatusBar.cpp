#include "editor/TreeStatusBar.h"

#include "editor/TreeEditorConst.h"
#include "i18n/KorTranslate.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>

// The display's indicators (TreeKeyStatesX11.cpp); false without them.
bool ReadDisplayLockStates(bool &caps, bool &num, bool &scroll);

namespace {

// Lock keys seen by the program: each press toggles its state. Installed
// once, on the application, the first time a status bar asks.
class TLockKeyWatcher : public QObject
{
public:
    TKeyLockStates States;

    static TLockKeyWatcher &Instance()
    {
        static QPointer<TLockKeyWatcher> watcher;
        if (!watcher) {
            watcher = new TLockKeyWatcher(QCoreApplication::instance());
            QCoreApplication::instance()->installEventFilter(watcher);
        }
        return *watcher;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // Every key press passes the application's filters once per
        // receiver along the parent chain; count it only at the widget
        // that got it first.
        if (event->type() == QEvent::KeyPress && watched->isWidgetType() && !static_cast<QKeyEvent *>(event)->isAutoRepeat()) {
            auto *key = static_cast<QKeyEvent *>(event);
            if (key != FLast) {
                FLast = key;
                switch (key->key()) {
                case Qt::Key_CapsLock:
                    States.Caps = !States.Caps;
                    break;
                case Qt::Key_NumLock:
                    States.Num = !States.Num;
                    break;
                case Qt::Key_ScrollLock:
                    States.Scroll = !States.Scroll;
                    break;
                default:
                    break;
                }
            }
        }
        return false;
    }

private:
    using QObject::QObject;
    const QKeyEvent *FLast = nullptr;
};


constexpr int kPanelWidths[TTreeStatusBar::kPanelCount] = {150, 0, 100, 30, 50, 36, 30, 30};
constexpr Qt::Alignment kPanelAlignments[TTreeStatusBar::kPanelCount] = {
    Qt::AlignLeft, Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignHCenter,
    Qt::AlignHCenter, Qt::AlignLeft, Qt::AlignLeft, Qt::AlignLeft};

} // namespace

TTreeStatusBar::TTreeStatusBar(QWidget *parent) : QStatusBar(parent)
{
    setObjectName(QStringLiteral("StatusBar1"));
    setSizeGripEnabled(true);
    for (int i = 0; i < kPanelCount; ++i) {
        auto *label = new QLabel(this);
        label->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        label->setAlignment(kPanelAlignments[i] | Qt::AlignVCenter);
        // The texts are the program's own or the diagram's: translated
        // where they are made, never by the form.
        label->setProperty(kNoTranslateProperty, true);
        if (kPanelWidths[i] > 0)
            label->setFixedWidth(kPanelWidths[i]);
        addWidget(label, i == spText ? 1 : 0);
        FPanels[i] = label;
    }
    FKeyTimer.setInterval(1000);
    connect(&FKeyTimer, &QTimer::timeout, this, &TTreeStatusBar::RefreshKeyStates);
    FSource = &TTreeStatusBar::PlatformKeyStates;
    // The lock keys are watched from the start, so the first refresh knows
    // the presses made before it.
    TLockKeyWatcher::Instance();
}

TTreeStatusBar::~TTreeStatusBar() = default;

QLabel *TTreeStatusBar::Panel(int panel) const
{
    return panel >= 0 && panel < kPanelCount ? FPanels[panel] : nullptr;
}

QString TTreeStatusBar::PanelText(int panel) const
{
    const QLabel *label = Panel(panel);
    return label ? label->text() : QString();
}

void TTreeStatusBar::SetPanelText(int panel, const QString &text)
{
    if (QLabel *label = Panel(panel); label && label->text() != text)
        label->setText(text);
}

void TTreeStatusBar::FormResized(int formWidth)
{
    // A limit, not a size: a narrow window shrinks it further instead of
    // growing for it.
    FPanels[spText]->setMinimumWidth(0);
    FPanels[spText]->setMaximumWidth(qMax(0, formWidth - kTextPanelMargin));
}

void TTreeStatusBar::SetModifiedShown(bool modified)
{
    SetPanelText(spModified, modified ? SStatusModified.Text() : QString());
}

void TTreeStatusBar::RefreshKeyStates()
{
    const TKeyLockStates s = FSource ? FSource() : TKeyLockStates();
    SetPanelText(spCaps, s.Caps ? SStatusCaps.Text() : QString());
    SetPanelText(spNum, s.Num ? SStatusNum.Text() : QString());
    SetPanelText(spScroll, s.Scroll ? SStatusScroll.Text() : QString());
}

TKeyLockStates TTreeStatusBar::PlatformKeyStates()
{
    TKeyLockStates states;
    if (ReadDisplayLockStates(states.Caps, states.Num, states.Scroll))
        return states;
    return TLockKeyWatcher::Instance().States;
}

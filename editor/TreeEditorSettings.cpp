// The window's settings: its bounds and state, which bands show, the side
// panel's width and side.

#include "editor/DendrixSettings.h"
#include "editor/TreeEditor.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSplitter>

namespace {

// Coordinates and sizes beyond these are no window's.
constexpr int kMaxCoordinate = 1000000;
constexpr int kMaxExtent = 100000;
constexpr int kMinWidth = 200;
constexpr int kMinHeight = 150;
constexpr int kMinSidePanel = 30;
constexpr int kMaxSidePanel = 2000;

QList<QRect> AvailableScreens()
{
    QList<QRect> screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens << screen->availableGeometry();
    return screens;
}

void ReadVisibility(TTreeEditor &editor, const QSettings &settings, const char *key, TEditorBand band)
{
    if (const auto value = ReadSettingsBool(settings, QLatin1String(key)))
        editor.SetBandVisible(band, *value);
}

} // namespace

QRect FitWindowBounds(const QRect &bounds, const QList<QRect> &screens)
{
    if (screens.isEmpty())
        return bounds;
    // The screen showing most of the window; the first one when none shows
    // any of it (a screen that is gone, a hostile position).
    QRect screen = screens.first();
    qint64 best = 0;
    for (const QRect &s : screens) {
        const QRect common = s.intersected(bounds);
        const qint64 area = common.isEmpty() ? 0 : qint64(common.width()) * common.height();
        if (area > best) {
            best = area;
            screen = s;
        }
    }
    const int width = qBound(qMin(kMinWidth, screen.width()), bounds.width(), screen.width());
    const int height = qBound(qMin(kMinHeight, screen.height()), bounds.height(), screen.height());
    const int left = qBound(screen.left(), bounds.left(), screen.left() + screen.width() - width);
    const int top = qBound(screen.top(), bounds.top(), screen.top() + screen.height() - height);
    return QRect(left, top, width, height);
}

void TTreeEditor::LoadSettings(QSettings &settings)
{
    if (!SettingsReadable(settings))
        return;
    const auto left = ReadSettingsInt(settings, QStringLiteral("Left"));
    if (left) {
        const auto top = ReadSettingsInt(settings, QStringLiteral("Top"));
        const auto width = ReadSettingsInt(settings, QStringLiteral("Width"));
        const auto height = ReadSettingsInt(settings, QStringLiteral("Height"));
        const auto sane = [](const std::optional<int> &v, int low, int high) { return v && *v >= low && *v <= high; };
        if (sane(left, -kMaxCoordinate, kMaxCoordinate) && sane(top, -kMaxCoordinate, kMaxCoordinate) &&
            sane(width, 1, kMaxExtent) && sane(height, 1, kMaxExtent)) {
            const QRect r = FitWindowBounds(QRect(*left, *top, *width, *height), AvailableScreens());
            move(r.topLeft());
            resize(r.size());
        }
    }
    // A window stored minimised starts in its normal state.
    if (const auto state = ReadSettingsInt(settings, QStringLiteral("State")))
        setWindowState(*state == 2 ? Qt::WindowMaximized : Qt::WindowNoState);

    ReadVisibility(*this, settings, "Tabs", ebPropertyPages);
    ReadVisibility(*this, settings, "ShapeTabs", ebPalette);
    ReadVisibility(*this, settings, "NodeTree", ebNodeOutline);
    ReadVisibility(*this, settings, "Status", ebStatusBar);
    ReadVisibility(*this, settings, "FontToolBar", ebFontToolbar);
    ReadVisibility(*this, settings, "BorderToolBar", ebFormatToolbar);
    ReadVisibility(*this, settings, "ToolBar", ebToolButtons);
    ReadVisibility(*this, settings, "Rulers", ebRulers);
    if (const auto units = ReadSettingsBool(settings, QStringLiteral("RulersUnits")))
        SetRulersShowUnits(*units);
    if (const auto width = ReadSettingsInt(settings, QStringLiteral("NodeTreeWidth")); width && *width > 0 && *width <= kMaxExtent) {
        const int w = qBound(kMinSidePanel, *width, kMaxSidePanel);
        QList<int> sizes = MainSplitter()->sizes();
        const int total = sizes.value(0) + sizes.value(1);
        const int side = SidePanelLeft() ? 0 : 1;
        sizes[side] = w;
        sizes[1 - side] = qMax(1, total - w);
        MainSplitter()->setSizes(sizes);
        PanelNodes()->resize(w, PanelNodes()->height());
    }
    if (const auto onLeft = ReadSettingsBool(settings, QStringLiteral("NodeTreeLeft")))
        SetSidePanelLeft(*onLeft);
}

void TTreeEditor::SaveSettings(QSettings &settings)
{
    const Qt::WindowStates state = windowState();
    if (!(state & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen))) {
        settings.setValue(QStringLiteral("Left"), x());
        settings.setValue(QStringLiteral("Top"), y());
        settings.setValue(QStringLiteral("Width"), width());
        settings.setValue(QStringLiteral("Height"), height());
    }
    settings.setValue(QStringLiteral("State"),
                      state & Qt::WindowMinimized ? 1 : (state & (Qt::WindowMaximized | Qt::WindowFullScreen)) ? 2 : 0);
    settings.setValue(QStringLiteral("Tabs"), BandVisible(ebPropertyPages));
    settings.setValue(QStringLiteral("ShapeTabs"), BandVisible(ebPalette));
    settings.setValue(QStringLiteral("NodeTree"), BandVisible(ebNodeOutline));
    settings.setValue(QStringLiteral("Status"), BandVisible(ebStatusBar));
    settings.setValue(QStringLiteral("FontToolBar"), BandVisible(ebFontToolbar));
    settings.setValue(QStringLiteral("BorderToolBar"), BandVisible(ebFormatToolbar));
    settings.setValue(QStringLiteral("ToolBar"), BandVisible(ebToolButtons));
    settings.setValue(QStringLiteral("Rulers"), BandVisible(ebRulers));
    settings.setValue(QStringLiteral("RulersUnits"), RulersShowUnits());
    const QList<int> sizes = MainSplitter()->sizes();
    settings.setValue(QStringLiteral("NodeTreeWidth"), sizes.value(SidePanelLeft() ? 0 : 1, PanelNodes()->width()));
    settings.setValue(QStringLiteral("NodeTreeLeft"), SidePanelLeft());
}

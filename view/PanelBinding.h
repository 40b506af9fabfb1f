#pragma once
// A listener's hold on a panel: binding registers the listener with the
// panel, binding another (or none) unregisters it, and the panel's end
// undoes the binding, after which `changed` runs as after every binding.

#include "canvas/KorPanel.h"

#include <QMetaObject>
#include <functional>

class TPanelBinding
{
public:
    TPanelBinding(TKorEventListener *listener, QObject *context, std::function<void()> changed)
        : FListener(listener), FContext(context), FChanged(std::move(changed))
    {
    }
    ~TPanelBinding()
    {
        if (FPanel)
            FPanel->RemoveListener(FListener);
        QObject::disconnect(FGone);
    }
    TPanelBinding(const TPanelBinding &) = delete;
    TPanelBinding &operator=(const TPanelBinding &) = delete;

    TCustomKorPanel *Panel() const { return FPanel; }
    void Bind(TCustomKorPanel *panel)
    {
        if (panel == FPanel)
            return;
        if (FPanel)
            FPanel->RemoveListener(FListener);
        QObject::disconnect(FGone);
        FPanel = panel;
        if (FPanel) {
            FPanel->AddListener(FListener);
            // The panel's listeners go with it: only the binding is undone.
            FGone = QObject::connect(FPanel, &QObject::destroyed, FContext, [this] {
                FPanel = nullptr;
                FChanged();
            });
        }
        FChanged();
    }

private:
    TKorEventListener *FListener;
    QObject *FContext;
    std::function<void()> FChanged;
    TCustomKorPanel *FPanel = nullptr;
    QMetaObject::Connection FGone;
};

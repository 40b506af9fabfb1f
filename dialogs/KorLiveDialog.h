#pragma once
// The common part of the dialogs that edit one object live (a brush, a
// pen, a gradient): every change reaches the object at once through the
// edit target, a copy of the object is taken whenever the dialog is filled
// (when it is made and each time it is shown), and Cancel puts that copy
// back as one change. A dialog shows the object's values in Fill, while
// FFilling keeps its controls' signals from editing.

#include "dialogs/KorDialogs.h"
#include "dialogs/KorEditTarget.h"

#include <QDialogButtonBox>
#include <QShowEvent>
#include <QString>
#include <memory>

template <class TEdited, class TCopy>
class TKorLiveDialog : public TKorDialog
{
public:
    // The copy made when the dialog was last filled.
    const TCopy *Backup() const { return FBackup.get(); }
    QDialogButtonBox *Buttons() const { return FButtons; }

    void reject() override
    {
        if (FBackup)
            FTarget.Edit(QString(), [this] { FEdited->Assign(FBackup.get()); });
        TKorDialog::reject();
    }

protected:
    // `edited` is not owned; `target` says where it lives.
    TKorLiveDialog(QWidget *parent, TEdited *edited, const TEditTarget &target)
        : TKorDialog(parent), FEdited(edited), FTarget(target)
    {
    }

    // Shows the edited object's values in the controls.
    virtual void Fill() = 0;

    // Takes a new copy and fills the controls; a subclass calls it once its
    // controls are made.
    void Refill()
    {
        FFilling = true;
        FBackup = std::make_unique<TCopy>();
        FBackup->Assign(FEdited);
        Fill();
        FFilling = false;
    }

    void showEvent(QShowEvent *event) override
    {
        // The copy is what the object was when the dialog appeared.
        if (!event->spontaneous())
            Refill();
        TKorDialog::showEvent(event);
    }
    QWidget *ButtonRow() const override { return FButtons; }

    TEdited *const FEdited;
    const TEditTarget FTarget;
    std::unique_ptr<TCopy> FBackup;
    bool FFilling = true;
    QDialogButtonBox *FButtons = nullptr;
};

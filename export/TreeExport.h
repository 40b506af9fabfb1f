#pragma once
// The export dialog of a diagram: the native page writes the diagram file,
// the data page the node hierarchy; the chart-oriented controls are
// hidden. Also the editor's "send by e-mail", which runs the dialog's send
// action without showing it.
//
//   TTreeExportForm form(tree, window);
//   Prompts().Exec(form);

#include "export/KorExportForm.h"
#include "export/TreeData.h"

class TCustomTree;

class TTreeExportForm : public TKorExportFormBase
{
    Q_OBJECT
public:
    // The dialog the editor's export command shows: caption "Export Tree",
    // the diagram file as native format.
    explicit TTreeExportForm(TCustomTree *tree, QWidget *parent = nullptr);
    TCustomTree *Tree() const { return FTree; }

    // Sends the diagram as a JPEG picture named "Arbolix" (the second
    // format when there is no JPEG).
    static void SendByMail(TCustomTree *tree, QWidget *parent);

protected:
    bool HasData() const override;
    std::unique_ptr<TKorExportData> CreateData(TDataFormat format) const override;
    void WriteNative(QIODevice &stream) override;

private:
    TCustomTree *FTree;
};

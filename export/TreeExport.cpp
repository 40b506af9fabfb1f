#include "export/TreeExport.h"

#include "export/KorExport.h"
#include "export/KorExportConst.h"
#include "model/TreeFile.h"
#include "view/Arbolix.h"

#include <QListWidget>

TTreeExportForm::TTreeExportForm(TCustomTree *tree, QWidget *parent) : TKorExportFormBase(parent), FTree(tree)
{
    setObjectName(QStringLiteral("TreeExportForm"));
    setWindowTitle(SExportTreeCaption);
    SetPanel(tree);
    SetNative(QStringLiteral("abx"), SExportNativeFilter);
    SetBaseName(QStringLiteral("Arbolix"));
    ChartControls()->hide();
}

bool TTreeExportForm::HasData() const
{
    return FTree && FTree->Shapes().Count() > 0;
}

std::unique_ptr<TKorExportData> TTreeExportForm::CreateData(TDataFormat format) const
{
    switch (format) {
    case dfXML: return std::make_unique<TTreeDataXML>(FTree);
    case dfHTML: return std::make_unique<TTreeDataHTML>(FTree);
    case dfExcel: return std::make_unique<TTreeDataXLS>(FTree);
    default: {
        auto text = std::make_unique<TTreeDataText>(FTree);
        text->SetIndentation(IndentationCharacter());
        return text;
    }
    }
}

void TTreeExportForm::WriteNative(QIODevice &stream)
{
    // The file holds the diagram shown, whatever its visibility now.
    SaveDiagram(*FTree, stream);
}

void TTreeExportForm::SendByMail(TCustomTree *tree, QWidget *parent)
{
    TTreeExportForm form(tree, parent);
    form.Prepare();
    if (!form.SelectFormat(SExportAsJPEG) && form.Formats()->count() > 1)
        form.Formats()->setCurrentRow(1);
    form.SetBaseName(QStringLiteral("Arbolix"));
    form.SendClicked();
}

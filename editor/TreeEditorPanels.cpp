// The editor window's property pages, font and format toolbars and node
// outline: each made once, put into its band and told of every document
// the window holds.

#include "editor/TreeEditor.h"

#include "editor/TreeNodeOutline.h"
#include "editor/TreePropertyPages.h"
#include "editor/TreeToolbars.h"

#include <QLayout>
#include <QTabWidget>

void TTreeEditor::ComposePanels()
{
    FPropertyPages = new TTreePropertyPages(this);
    FPropertyPages->setObjectName(QStringLiteral("PropertyPages"));
    FPropertyPages->SetStarting(true);
    FPropertyPages->AdoptTabs(FPageTree);
    TTreePropertyPages::TRulerLink rulers;
    rulers.Visible = [this] { return BandVisible(ebRulers); };
    rulers.SetVisible = [this](bool on) { SetBandVisible(ebRulers, on); };
    rulers.ShowUnits = [this] { return RulersShowUnits(); };
    rulers.SetShowUnits = [this](bool on) { SetRulersShowUnits(on); };
    rulers.Units = [this] { return int(RulersUnits()); };
    rulers.SetUnits = [this](int units) {
        if (units >= ruPixels && units <= ruInches)
            SetRulersUnits(TRulerUnits(units));
    };
    FPropertyPages->SetRulerLink(rulers);

    FFontToolbar = new TTreeFontToolbar(FPanelFont);
    FPanelFont->layout()->addWidget(FFontToolbar);
    FFormatToolbar = new TTreeFormatToolbar(FPanelShape);
    FPanelShape->layout()->addWidget(FFormatToolbar);
    FNodeOutline = new TTreeNodeOutline(FNodeTreeSlot);
    FNodeTreeSlot->layout()->addWidget(FNodeOutline);

    for (TTreePanelPart *part : std::initializer_list<TTreePanelPart *>{FPropertyPages, FFontToolbar, FFormatToolbar}) {
        part->SetHost(this);
        AddPart(part);
    }
    FNodeOutline->SetHost(this);
    AddPart(FNodeOutline);
}

void TTreeEditor::FinishStartingPanels()
{
    if (FPropertyPages) {
        FPropertyPages->SetStarting(false);
        FPropertyPages->Refresh();
    }
}

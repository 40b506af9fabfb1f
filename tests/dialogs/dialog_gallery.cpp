// Shows one property editor on a small diagram, for looking at it by hand:
//   dialog_gallery pen|brush|gradient|text|inspector|shape|connection [page]
// The dialog runs as the program would run it; closing it ends the program.

#include "dialogs/KorBrushDlg.h"
#include "dialogs/KorEdiGrad.h"
#include "dialogs/KorInspector.h"
#include "dialogs/KorPenDlg.h"
#include "dialogs/KorTextDlg.h"
#include "dialogs/TreeCoEd.h"
#include "dialogs/TreeShEd.h"
#include "model/Arbolix.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QMenu>
#include <functional>
#include <map>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString what = argc > 1 ? QString::fromLatin1(argv[1]) : QStringLiteral("pen");
    const int page = argc > 2 ? QString::fromLatin1(argv[2]).toInt() : 0;
    TComponent owner;
    owner.SetName(QStringLiteral("TreeEditor1"));
    auto *tree = new TTreeDocument(&owner);
    tree->SetNoOwnerShapes(false);
    TTreeNodeShape *a = tree->AddRoot(QStringLiteral("Root"));
    TTreeNodeShape *b = a->AddChild(QStringLiteral("Child"));
    a->SetSelected(true);
    a->Border()->SetColor(clNavy);
    a->Border()->SetWidth(2);
    a->Brush()->SetColor(clYellow);
    a->Gradient()->SetVisible(true);
    a->Gradient()->SetMidColor(clAqua);
    a->Font()->Shadow()->SetVertSize(3);
    TTreeConnection *c = a->Connections().First();
    Q_UNUSED(b);

    if (what == QLatin1String("pen"))
        EditPen(nullptr, a->Border(), TEditTarget(tree, a, QStringLiteral("Border")));
    else if (what == QLatin1String("brush"))
        EditBrush(nullptr, a->Brush(), TEditTarget(tree, a, QStringLiteral("Brush")));
    else if (what == QLatin1String("gradient"))
        EditGradient(nullptr, a->Gradient(), false, TEditTarget(tree, a, QStringLiteral("Gradient")));
    else if (what == QLatin1String("text"))
        EditText(nullptr, c ? static_cast<TCustomTreeElement *>(a) : a);
    else if (what == QLatin1String("shape"))
        EditShape(nullptr, a, page);
    else if (what == QLatin1String("connection")) {
        c->SetStyle(csLine);
        c->SetDefaultPoints();
        EditConnectionPage(nullptr, c, page);
    } else if (what == QLatin1String("inspector")) {
        QMenu menu;
        QAction *visible = menu.addAction(QStringLiteral("&Visible"));
        visible->setCheckable(true);
        visible->setChecked(true);
        SetInspectorKind(visible, ikBoolean);
        QAction *color = menu.addAction(QStringLiteral("&Color..."));
        SetInspectorKind(color, ikColor);
        SetInspectorColor(color, a->Color());
        QAction *border = menu.addAction(QStringLiteral("B&order..."));
        SetInspectorKind(border, ikPen);
        SetInspectorObject(border, a->Border());
        QAction *pattern = menu.addAction(QStringLiteral("&Pattern..."));
        SetInspectorKind(pattern, ikPattern);
        SetInspectorObject(pattern, a->Brush());
        QAction *gradient = menu.addAction(QStringLiteral("&Gradient..."));
        SetInspectorKind(gradient, ikGradient);
        SetInspectorObject(gradient, a->Gradient());
        QAction *font = menu.addAction(QStringLiteral("&Font..."));
        SetInspectorKind(font, ikFont);
        SetInspectorObject(font, a->Font());
        QAction *image = menu.addAction(QStringLiteral("&Image..."));
        SetInspectorKind(image, ikImage);
        SetInspectorObject(image, a->Image());
        QMenu *styles = menu.addMenu(QStringLiteral("&Style"));
        auto *group = new QActionGroup(&menu);
        for (const char *s : {"&Rectangle", "&Circle", "&Diamond"}) {
            QAction *act = styles->addAction(QString::fromLatin1(s));
            act->setCheckable(true);
            group->addAction(act);
        }
        styles->actions().first()->setChecked(true);
        menu.addSeparator();
        menu.addAction(QStringLiteral("&Edit..."));
        TKorInspector inspector;
        inspector.setWindowTitle(QStringLiteral("Inspector"));
        inspector.resize(260, 240);
        inspector.ShowMenu(&menu);
        TInspectorItem *number = inspector.AddItem(QStringLiteral("Duration"), iiInteger);
        number->SetValue(250);
        TInspectorItem *custom = inspector.AddItem(QStringLiteral("End Color"), iiColor);
        custom->SetValue(int(RGBColor(40, 120, 200)));
        inspector.show();
        return app.exec();
    }
    return 0;
}

// The database-tree wizard, its field picker and the new-dataset dialog,
// driven with clicks and keys; every message and picker is answered by a
// script.

#include "DBTreeTestUtil.h"

#include "dbtree/DBTreeConst.h"
#include "dbtree/KorNewDataSet.h"
#include "dbtree/KorSelectList.h"
#include "dbtree/TreeDBEd.h"
#include "dialogs/KorPrompts.h"
#include "dialogs/TreeShEd.h"
#include "i18n/KorTranslate.h"
#include "model/TreeFile.h"

#include <QBuffer>
#include <QLabel>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

class TestDBTreeWizard : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<TTestDatabase> FDb;
    std::unique_ptr<TComponent> FOwner;
    TDBTree *FTree = nullptr;

private slots:
    void initTestCase() { RegisterDBTreeClasses(); }
    void init()
    {
        FDb = std::make_unique<TTestDatabase>(false);
        FDb->CreateTable(QStringLiteral("places"),
                         {QStringLiteral("code integer"), QStringLiteral("parent integer"),
                          QStringLiteral("name varchar(20)"), QStringLiteral("kind varchar(20)")},
                         {{1, 0, QStringLiteral("World"), QStringLiteral("planet")},
                          {2, 1, QStringLiteral("Africa"), QStringLiteral("continent")}});
        FDb->CreateTable(QStringLiteral("cities"), {QStringLiteral("place integer"), QStringLiteral("city varchar(20)")},
                         {{2, QStringLiteral("Nairobi")}});
        FOwner = std::make_unique<TComponent>();
        FTree = new TDBTree(FOwner.get());
        FTree->SetNoOwnerShapes(false);
    }
    void cleanup()
    {
        FOwner.reset();
        FDb.reset();
    }

    void fieldPicker()
    {
        TSelectListForm form;
        form.SetFields({QStringLiteral("code"), QStringLiteral("name"), QStringLiteral("kind")},
                       QStringLiteral("kind;missing"));
        QCOMPARE(form.Selection(), QStringLiteral("kind"));
        QCOMPARE(form.Available()->count(), 2);
        QVERIFY(!form.MoveRight()->isEnabled());
        form.Available()->item(1)->setSelected(true); // name
        QTest::mouseClick(form.MoveRight(), Qt::LeftButton);
        QCOMPARE(form.Selection(), QStringLiteral("kind;name"));
        form.Selected()->setCurrentRow(1);
        QTest::mouseClick(form.Up(), Qt::LeftButton);
        QCOMPARE(form.Selection(), QStringLiteral("name;kind"));
        QVERIFY(!form.Up()->isEnabled());
        QTest::mouseClick(form.MoveAllRight(), Qt::LeftButton);
        QCOMPARE(form.Selection(), QStringLiteral("name;kind;code"));
        QTest::mouseClick(form.MoveAllLeft(), Qt::LeftButton);
        QCOMPARE(form.Selection(), QString());
        // A double click moves an item across.
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QListWidgetItem *item = form.Available()->item(0);
        const QRect r = form.Available()->visualItemRect(item);
        QTest::mouseClick(form.Available()->viewport(), Qt::LeftButton, {}, r.center());
        QVERIFY(item->isSelected());
        emit form.Available()->itemDoubleClicked(item);
        QCOMPARE(form.Selected()->count(), 1);
        QCOMPARE(form.Selection(), item->text());
    }

    void fieldNamesAreNotTranslated()
    {
        // Fields whose names are words of the interface keep them in
        // another language: the selection names the dataset's fields.
        ApplyLanguage(lnSpanish, true);
        QVERIFY(ActiveTable() && ActiveTable()->Contains(QStringLiteral("TEXT")));
        TSelectListForm form;
        form.SetFields({QStringLiteral("Text"), QStringLiteral("Color"), QStringLiteral("Size")}, QStringLiteral("Size"));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.Available()->item(0)->text(), QStringLiteral("Text"));
        QCOMPARE(form.Available()->item(1)->text(), QStringLiteral("Color"));
        QTest::mouseClick(form.MoveAllRight(), Qt::LeftButton);
        QCOMPARE(form.Selection(), QStringLiteral("Size;Text;Color"));
        // The form's own captions are translated.
        QCOMPARE(form.windowTitle(), ActiveTable()->Lookup(QStringLiteral("FIELDS")));
        ResetLanguages();
    }

    void validation_data()
    {
        QTest::addColumn<int>("situation");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        // The chooser at fault: 0 code, 1 parent, 2 text, 3 detail, 4 dataset.
        QTest::addColumn<int>("focus");
        QTest::newRow("code/parent without code") << 0 << "" << "parent" << "name" << SDBCodeParentTextNeeded.Text() << 0;
        QTest::newRow("code/parent without parent") << 0 << "code" << "" << "name" << SDBCodeParentTextNeeded.Text() << 1;
        QTest::newRow("code/parent without text") << 0 << "code" << "parent" << "" << SDBCodeParentTextNeeded.Text() << 2;
        QTest::newRow("grouped without text") << 1 << "" << "kind" << "" << SDBTextFieldsNeeded.Text() << 2;
        QTest::newRow("master without text") << 2 << "" << "" << "" << SDBMasterFieldsNeeded.Text() << 2;
        QTest::newRow("master without detail") << 2 << "" << "" << "name" << SDBDetailFieldsNeeded.Text() << 3;
        QTest::newRow("grouped without dataset") << 1 << "" << "kind" << "name" << SDBDataSetNeeded.Text() << 4;
    }
    void validation()
    {
        QFETCH(int, situation);
        QFETCH(QString, code);
        QFETCH(QString, parent);
        QFETCH(QString, text);
        QFETCH(QString, message);
        QFETCH(int, focus);
        TTreeDataSet *d = FDb->DataSet(FOwner.get(), QStringLiteral("places"));
        TScriptedPromptsGuard prompts;
        prompts->Answers = {paOk};
        TTreeDBEditor wizard(FTree);
        wizard.SetSituation(TTreeDBEditor::TSituation(situation));
        wizard.show();
        QTest::mouseClick(wizard.NextButton(), Qt::LeftButton);
        QCOMPARE(wizard.Page(), 1);
        if (message != SDBDataSetNeeded.Text())
            wizard.DataSetBox()->setCurrentIndex(wizard.DataSetBox()->findText(d->Name()));
        wizard.CodeFieldBox()->setCurrentText(code);
        wizard.ParentFieldEdit()->setText(parent);
        wizard.TextFieldsEdit()->setText(text);
        QVERIFY(!wizard.Apply());
        QCOMPARE(prompts->CallsOf(QStringLiteral("Ask")).size(), size_t(1));
        QCOMPARE(prompts->CallsOf(QStringLiteral("Ask")).front().Text, message);
        QCOMPARE(FTree->Shapes().Count(), 0);
        QVERIFY(wizard.isVisible());
        QWidget *const choosers[] = {wizard.CodeFieldBox(), wizard.ParentFieldEdit(), wizard.TextFieldsEdit(),
                                     wizard.DetailBox(), wizard.DataSetBox()};
        QCOMPARE(wizard.focusWidget(), choosers[focus]);
    }

    void applyAndFinish()
    {
        TTreeDataSet *d = FDb->DataSet(FOwner.get(), QStringLiteral("places"));
        TScriptedPromptsGuard prompts;
        // The field picker offers the dataset's fields.
        prompts->OnExec = [](QDialog &dialog) {
            auto *form = qobject_cast<TSelectListForm *>(&dialog);
            if (!form)
                return int(QDialog::Rejected);
            [&] { QCOMPARE(form->Available()->count(), 4); }();
            form->Available()->item(2)->setSelected(true);
            QTest::mouseClick(form->MoveRight(), Qt::LeftButton);
            return int(QDialog::Accepted);
        };
        TTreeDBEditor wizard(FTree);
        wizard.SetSituation(TTreeDBEditor::dsCodeParent);
        wizard.show();
        QTest::mouseClick(wizard.NextButton(), Qt::LeftButton);
        QCOMPARE(wizard.NextButton()->text(), QStringLiteral("&Finish"));
        wizard.DataSetBox()->setCurrentIndex(wizard.DataSetBox()->findText(d->Name()));
        wizard.CodeFieldBox()->setCurrentText(QStringLiteral("code"));
        wizard.ParentFieldEdit()->setText(QStringLiteral("parent"));
        // The picker, as the "..." beside the text fields opens it.
        QString selection = QString();
        QVERIFY(SelectFields(&wizard, d->FieldNames(), selection));
        wizard.TextFieldsEdit()->setText(selection);
        QCOMPARE(selection, QStringLiteral("name"));
        QVERIFY(wizard.Apply());
        QVERIFY(!wizard.ApplyButton()->isEnabled());
        QCOMPARE(Outline(*FTree), QStringLiteral("World\n Africa\n"));
        QVERIFY(FTree->Roots()[0]->Expanded());
        QCOMPARE(FTree->CodeField(), QStringLiteral("code"));
        // Finish closes with OK; a wizard opened again starts on the
        // second page with the code/parent situation.
        QTest::mouseClick(wizard.NextButton(), Qt::LeftButton);
        QCOMPARE(wizard.result(), int(QDialog::Accepted));
        TTreeDBEditor again(FTree);
        QCOMPARE(again.Page(), 1);
        QCOMPARE(again.Situation(), TTreeDBEditor::dsCodeParent);
        QCOMPARE(again.TextFieldsEdit()->text(), QStringLiteral("name"));
    }

    // Format... edits the record format in the shape editor; the next fill
    // uses it, and a header with text adds its node.
    void formats_data()
    {
        QTest::addColumn<bool>("finish");
        QTest::newRow("applied") << true;
        QTest::newRow("cancelled") << false;
    }
    void formats()
    {
        QFETCH(bool, finish);
        FDb->CreateTable(QStringLiteral("t"), {QStringLiteral("name varchar(9)")}, {{QStringLiteral("a")}});
        TTreeDataSet *d = FDb->DataSet(FOwner.get(), QStringLiteral("t"));
        // A tree that had a record format already: the wizard starts from it.
        FTree->Layout()->Add()->Format()->SetBackColor(clRed);
        TScriptedPromptsGuard prompts;
        int shown = 0;
        prompts->OnExec = [&](QDialog &dialog) {
            ++shown;
            if (auto *editor = qobject_cast<TNodeTreeEditor *>(&dialog)) {
                if (shown == 1)
                    editor->FirstNode()->SetColor(clYellow);
                else
                    editor->FirstNode()->SetSimpleText(QStringLiteral("Names"));
            }
            return int(QDialog::Accepted);
        };
        TTreeDBEditor wizard(FTree);
        wizard.SetSituation(TTreeDBEditor::dsGrouped);
        wizard.show();
        wizard.Next();
        QCOMPARE(wizard.FormatNode(0, false)->BackColor(), clRed);
        wizard.EditFormat(0, false);
        wizard.EditFormat(0, true);
        QCOMPARE(shown, 2);
        QVERIFY(wizard.ApplyButton()->isEnabled());
        // Edited in the wizard; the tree's own formats are untouched so far.
        QCOMPARE(FTree->Layout()->Items(0)->Format()->Color(), TDBLayout::NewFormat()->Color());
        QVERIFY(!FTree->Layout()->Items(0)->PeekHeaderFormat());
        wizard.DataSetBox()->setCurrentIndex(wizard.DataSetBox()->findText(d->Name()));
        wizard.TextFieldsEdit()->setText(QStringLiteral("name"));
        if (!finish) {
            wizard.reject();
            QCOMPARE(FTree->Layout()->Items(0)->Format()->BackColor(), clRed);
            QVERIFY(FTree->Layout()->Items(0)->Format()->Color() != clYellow);
            QVERIFY(!FTree->Layout()->Items(0)->PeekHeaderFormat());
            QCOMPARE(FTree->Shapes().Count(), 0);
            return;
        }
        QVERIFY(wizard.Apply());
        QCOMPARE(Outline(*FTree), QStringLiteral("Names\n a\n"));
        TTreeNodeShape *record = FTree->Roots()[0]->Children()[0];
        QCOMPARE(record->Color(), clYellow);
        QCOMPARE(record->BackColor(), clRed);
        QCOMPARE(FTree->Layout()->Items(0)->Format()->Color(), clYellow);
        QCOMPARE(FTree->Layout()->Items(0)->HeaderFormat()->Line(0), QStringLiteral("Names"));
    }

    // Formats are no nodes of the diagram: the shape editor opened on one
    // hides the cross box and the children's connections, and shows no
    // position page; on a node of the diagram it shows them all.
    void formatEditorHidesDiagramControls_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<bool>("header");
        QTest::newRow("master format") << 0 << false;
        QTest::newRow("master header") << 0 << true;
        QTest::newRow("detail format") << 1 << false;
        QTest::newRow("detail header") << 1 << true;
    }
    void formatEditorHidesDiagramControls()
    {
        QFETCH(int, item);
        QFETCH(bool, header);
        TScriptedPromptsGuard prompts;
        struct TSeen
        {
            bool Shown = false, Cross = false, CrossLabel = false, Connections = false, ConnectionsLabel = false;
            bool Style = false, Position = false;
            TTreeNodeShape *Node = nullptr;
        };
        TSeen seen;
        prompts->OnExec = [&](QDialog &dialog) {
            auto *editor = qobject_cast<TNodeTreeEditor *>(&dialog);
            if (!editor)
                return int(QDialog::Rejected);
            seen.Shown = true;
            seen.Node = editor->FirstNode();
            seen.Cross = editor->CrossList()->isVisible();
            seen.CrossLabel = editor->CrossLabel()->isVisible();
            seen.Connections = editor->ConnectionsList()->isVisible();
            seen.ConnectionsLabel = editor->ConnectionsLabel()->isVisible();
            seen.Style = editor->StyleList()->isVisible();
            seen.Position = editor->Pages()->count() == 6;
            // The editor's own controls change the format.
            QTest::mouseClick(editor->TransparentBox(), Qt::LeftButton, {}, QPoint(6, editor->TransparentBox()->height() / 2));
            return int(QDialog::Accepted);
        };
        TTreeDBEditor wizard(FTree);
        wizard.SetSituation(TTreeDBEditor::dsMasterDetail);
        wizard.show();
        wizard.Next();
        QTest::mouseClick(wizard.FormatButton(item, header), Qt::LeftButton);
        QVERIFY(seen.Shown);
        QVERIFY(!seen.Cross);
        QVERIFY(!seen.CrossLabel);
        QVERIFY(!seen.Connections);
        QVERIFY(!seen.ConnectionsLabel);
        QVERIFY(seen.Style);
        QVERIFY(!seen.Position);
        // The format edited is the wizard's copy of the item's; a new
        // format is transparent, and the editor's box made it opaque.
        QVERIFY(seen.Node == wizard.FormatNode(item, header));
        QVERIFY(!wizard.FormatNode(item, header)->Transparent());
        QVERIFY(wizard.FormatNode(item, !header)->Transparent());
        QVERIFY(seen.Node != wizard.FormatNode(1 - item, header));
        QVERIFY(seen.Node != wizard.FormatNode(item, !header));

        // The main window's way on a node of the diagram keeps them.
        seen = TSeen();
        TTreeNodeShape *node = FTree->AddShape(0, 0, nullptr);
        EditShape(&wizard, node);
        QVERIFY(seen.Shown);
        QVERIFY(seen.Cross);
        QVERIFY(seen.CrossLabel);
        QVERIFY(seen.Connections);
        QVERIFY(seen.ConnectionsLabel);
        QVERIFY(seen.Position);
    }

    // Enter goes on as Next and Finish do; it never opens the new-dataset
    // dialog.
    void enterGoesOn()
    {
        TScriptedPromptsGuard prompts;
        TTreeDBEditor wizard(FTree);
        wizard.SetSituation(TTreeDBEditor::dsGrouped);
        wizard.show();
        QVERIFY(QTest::qWaitForWindowExposed(&wizard));
        QTest::keyClick(&wizard, Qt::Key_Return);
        QCOMPARE(wizard.Page(), 1);
        wizard.DataSetBox()->setFocus();
        wizard.TextFieldsEdit()->setText(QString());
        wizard.ApplyButton()->setEnabled(true);
        QTest::keyClick(wizard.CodeFieldBox(), Qt::Key_Return);
        QCOMPARE(prompts->CallsOf(QStringLiteral("Exec")).size(), size_t(0));
        QCOMPARE(prompts->CallsOf(QStringLiteral("Ask")).size(), size_t(1));
        QCOMPARE(prompts->CallsOf(QStringLiteral("Ask")).front().Text, SDBTextFieldsNeeded.Text());
        QVERIFY(wizard.isVisible());
    }

    // Only the choosers the situation uses can be used.
    void choosersFollowTheSituation_data()
    {
        QTest::addColumn<int>("situation");
        QTest::addColumn<bool>("code");
        QTest::addColumn<bool>("parent");
        QTest::addColumn<bool>("detail");
        QTest::newRow("code/parent") << int(TTreeDBEditor::dsCodeParent) << true << true << false;
        QTest::newRow("grouped") << int(TTreeDBEditor::dsGrouped) << false << true << false;
        QTest::newRow("master/detail") << int(TTreeDBEditor::dsMasterDetail) << false << false << true;
    }
    void choosersFollowTheSituation()
    {
        QFETCH(int, situation);
        QFETCH(bool, code);
        QFETCH(bool, parent);
        QFETCH(bool, detail);
        TTreeDBEditor wizard(FTree);
        wizard.SetSituation(TTreeDBEditor::TSituation(situation));
        wizard.Next();
        QCOMPARE(wizard.CodeFieldBox()->isEnabled(), code);
        QCOMPARE(wizard.ParentFieldEdit()->isEnabled(), parent);
        QCOMPARE(wizard.ParentPickButton()->isEnabled(), parent);
        for (QWidget *w : std::initializer_list<QWidget *>{wizard.DetailBox(), wizard.DetailFieldsEdit(), wizard.DetailPickButton(),
                                                           wizard.FormatButton(1, false), wizard.FormatButton(1, true)})
            QCOMPARE(w->isEnabled(), detail);
        QVERIFY(wizard.FormatButton(0, false)->isEnabled());
        QVERIFY(wizard.TextFieldsEdit()->isEnabled());
    }

    // A big table shows its progress; cancelling keeps the diagram as far as
    // it was built, a whole document, and Apply builds it whole again.
    void cancelWhileBuilding_data()
    {
        QTest::addColumn<int>("situation");
        QTest::addColumn<int>("cancelAt");
        QTest::newRow("plain table, at the first record") << int(TTreeDBEditor::dsGrouped) << 1;
        QTest::newRow("plain table, midway") << int(TTreeDBEditor::dsGrouped) << 60;
        QTest::newRow("code/parent table, midway") << int(TTreeDBEditor::dsCodeParent) << 75;
        QTest::newRow("code/parent table, at the last record") << int(TTreeDBEditor::dsCodeParent) << 150;
    }
    void cancelWhileBuilding()
    {
        QFETCH(int, situation);
        QFETCH(int, cancelAt);
        const int count = 150;
        QList<QVariantList> rows;
        // Each record's parent comes before it: a tree of several levels.
        for (int i = 1; i <= count; ++i)
            rows << QVariantList{i, i / 3, QStringLiteral("n%1").arg(i)};
        FDb->CreateTable(QStringLiteral("big"),
                         {QStringLiteral("code integer"), QStringLiteral("parent integer"), QStringLiteral("name varchar(9)")},
                         rows);
        TTreeDataSet *d = FDb->DataSet(FOwner.get(), QStringLiteral("big"));
        TScriptedPromptsGuard prompts;
        QStringList texts;
        int steps = 0;
        prompts->OnProgress = [&](int done, int total, const QString &text) {
            ++steps;
            texts << text;
            [&] { QCOMPARE(total, count); }();
            return done < cancelAt;
        };
        TTreeDBEditor wizard(FTree);
        wizard.SetSituation(TTreeDBEditor::TSituation(situation));
        wizard.show();
        wizard.Next();
        wizard.DataSetBox()->setCurrentIndex(wizard.DataSetBox()->findText(d->Name()));
        if (situation == TTreeDBEditor::dsCodeParent) {
            wizard.CodeFieldBox()->setCurrentText(QStringLiteral("code"));
            wizard.ParentFieldEdit()->setText(QStringLiteral("parent"));
        }
        wizard.TextFieldsEdit()->setText(QStringLiteral("name"));
        QVERIFY(!wizard.Apply());
        QCOMPARE(prompts->CallsOf(QStringLiteral("Progress")).size(), size_t(1));
        QCOMPARE(prompts->CallsOf(QStringLiteral("Progress")).front().Text, SDBWizardCaption.Text());
        QCOMPARE(steps, cancelAt);
        QCOMPARE(texts.front(), FormatMessage(SDBBuilding, {QStringLiteral("1"), QString::number(count)}));
        QVERIFY(FTree->Cancelled());
        // The user hears that the tree is not whole; the wizard stays.
        QCOMPARE(prompts->CallsOf(QStringLiteral("Ask")).size(), size_t(1));
        QCOMPARE(prompts->CallsOf(QStringLiteral("Ask")).front().Text, SDBCancelled.Text());
        QVERIFY(wizard.isVisible());
        QVERIFY(wizard.ApplyButton()->isEnabled());
        // As far as it was built: the records before the cancel, in a
        // document that is saved and read back whole.
        QCOMPARE(FTree->Shapes().Count(), cancelAt);
        QCOMPARE(FirstLine(FTree->Shapes()[cancelAt - 1]), QStringLiteral("n%1").arg(cancelAt));
        VerifyDocument(*FTree, FOwner.get());
        if (situation == TTreeDBEditor::dsCodeParent && cancelAt > 3)
            QCOMPARE(FTree->Shapes()[3]->Parent(), FTree->Shapes()[0]); // n4 under n1
        const QString built = Outline(*FTree);
        TComponent other;
        TDBTree copy(&other);
        SaveAndLoad(*FTree, copy);
        QCOMPARE(Outline(copy), built);

        // Applied again without cancelling: the whole table, built anew.
        prompts->OnProgress = nullptr;
        QVERIFY(wizard.Apply());
        QVERIFY(!FTree->Cancelled());
        QCOMPARE(FTree->Shapes().Count(), count);
        VerifyDocument(*FTree, FOwner.get());
        QCOMPARE(prompts->CallsOf(QStringLiteral("Progress")).size(), size_t(2));
    }

    void masterDetailFromTheWizard()
    {
        TTreeDataSet *master = FDb->DataSet(FOwner.get(), QStringLiteral("places"));
        TTreeDataSet *detail = FDb->DataSet(FOwner.get(), QStringLiteral("cities"));
        TScriptedPromptsGuard prompts;
        TTreeDBEditor wizard(FTree);
        wizard.SetSituation(TTreeDBEditor::dsMasterDetail);
        wizard.Next();
        wizard.DataSetBox()->setCurrentIndex(wizard.DataSetBox()->findText(master->Name()));
        wizard.TextFieldsEdit()->setText(QStringLiteral("name"));
        wizard.DetailBox()->setCurrentIndex(wizard.DetailBox()->findText(detail->Name()));
        wizard.MasterLinkBox()->setCurrentText(QStringLiteral("code"));
        wizard.DetailLinkBox()->setCurrentText(QStringLiteral("place"));
        wizard.DetailFieldsEdit()->setText(QStringLiteral("city"));
        QVERIFY(wizard.Apply());
        QCOMPARE(Outline(*FTree), QStringLiteral("World\nAfrica\n Nairobi\n"));
        // No message; only the progress window of the building.
        QCOMPARE(prompts->Calls().size(), size_t(1));
        QCOMPARE(prompts->Calls().front().What, QStringLiteral("Progress"));
    }

    void newDataSet_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("records");
        QTest::newRow("table") << "places" << "" << "Table1" << 2;
        QTest::newRow("query") << "" << "select * from places where code > 1" << "Query1" << 1;
    }
    void newDataSet()
    {
        QFETCH(QString, table);
        QFETCH(QString, sql);
        QFETCH(QString, name);
        QFETCH(int, records);
        TScriptedPromptsGuard prompts;
        prompts->FileNames = {FDb->Database().DatabaseName};
        TNewDataSetForm form(FOwner.get());
        form.show();
        QVERIFY(form.SQLiteChoice()->isChecked());
        QTest::mouseClick(form.NextButton(), Qt::LeftButton);
        QCOMPARE(form.Page(), 1);
        QTest::mouseClick(form.BrowseButton(), Qt::LeftButton);
        QCOMPARE(form.FileEdit()->text(), FDb->Database().DatabaseName);
        // Browsing listed the tables.
        QVERIFY(form.TableBox()->findText(QStringLiteral("cities")) >= 0);
        form.TableBox()->setCurrentText(table);
        if (!sql.isEmpty())
            form.SQLEdit()->setPlainText(sql);
        QTest::mouseClick(form.NextButton(), Qt::LeftButton);
        QCOMPARE(form.result(), int(QDialog::Accepted));
        TTreeDataSet *d = form.Created();
        QVERIFY(d);
        QCOMPARE(d->Owner(), FOwner.get());
        QCOMPARE(d->Name(), name);
        QVERIFY(d->Active());
        QCOMPARE(d->RecordCount(), records);
    }

    // Each engine has its page; a server that cannot be reached is named
    // in the message, and nothing is created.
    void newDataSetEnginePages_data()
    {
        QTest::addColumn<bool>("server");
        QTest::addColumn<int>("page");
        QTest::newRow("SQLite file") << false << 1;
        QTest::newRow("PostgreSQL server") << true << 2;
    }
    void newDataSetEnginePages()
    {
        QFETCH(bool, server);
        QFETCH(int, page);
        TScriptedPromptsGuard prompts;
        TNewDataSetForm form(FOwner.get());
        form.show();
        QCOMPARE(form.NextButton()->text(), QStringLiteral("&Next >"));
        if (server)
            QTest::mouseClick(form.PostgreSQLChoice(), Qt::LeftButton, {}, QPoint(8, form.PostgreSQLChoice()->height() / 2));
        QVERIFY(form.PostgreSQLChoice()->isChecked() == server);
        QTest::mouseClick(form.NextButton(), Qt::LeftButton);
        QCOMPARE(form.Page(), page);
        QCOMPARE(form.NextButton()->text(), QStringLiteral("&Finish"));
        QCOMPARE(form.FileEdit()->isVisible(), !server);
        QCOMPARE(form.HostEdit()->isVisible(), server);
        QCOMPARE(form.PasswordEdit()->isVisible(), server);
        QVERIFY(form.TableBox()->isVisible());
        QVERIFY(form.SQLEdit()->isVisible());
        QCOMPARE(form.SQLEdit()->toPlainText(), QStringLiteral("select * from "));
        if (server) {
            // Nothing listens on port 1.
            form.HostEdit()->setText(QStringLiteral("127.0.0.1"));
            form.PortBox()->setValue(1);
            form.DatabaseEdit()->setText(QStringLiteral("nowhere"));
        } else {
            form.FileEdit()->setText(FDb->Database().DatabaseName + QStringLiteral(".missing"));
        }
        form.TableBox()->setCurrentText(QStringLiteral("places"));
        QTest::mouseClick(form.NextButton(), Qt::LeftButton);
        QCOMPARE(form.Created(), nullptr);
        QVERIFY(form.isVisible());
        const auto asked = prompts->CallsOf(QStringLiteral("Ask"));
        QCOMPARE(asked.size(), size_t(1));
        QCOMPARE(asked.front().Kind, pkError);
        QVERIFY2(asked.front().Text.contains(server ? QStringLiteral("nowhere (127.0.0.1:1)") : QStringLiteral(".missing")),
                 qPrintable(asked.front().Text));
        QCOMPARE(FOwner->ComponentCount(), 1); // the tree only
    }

    void newDataSetThatCannotOpen()
    {
        TScriptedPromptsGuard prompts;
        prompts->Answers = {paOk};
        TNewDataSetForm form(FOwner.get());
        form.show();
        form.Next();
        form.FileEdit()->setText(FDb->Database().DatabaseName);
        form.TableBox()->setCurrentText(QStringLiteral("nothing_here"));
        form.Next();
        QCOMPARE(form.Created(), nullptr);
        QVERIFY(form.isVisible());
        QCOMPARE(prompts->CallsOf(QStringLiteral("Ask")).size(), size_t(1));
        QVERIFY(prompts->CallsOf(QStringLiteral("Ask")).front().Text.contains(QStringLiteral("nothing_here")));
        QCOMPARE(FOwner->ComponentCount(), 1); // the tree only
    }
};

QTEST_MAIN(TestDBTreeWizard)
#include "tst_dbtree_wizard.moc"

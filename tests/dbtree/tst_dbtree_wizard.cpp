// The database-tree wizard, its field picker and the new-dataset dialog,
// driven with clicks and keys; every message and picker is answered by a
// script.

#include "DBTreeTestUtil.h"

#include "dbtree/DBTreeConst.h"
#include "dbtree/KorNewDataSet.h"
#include "dbtree/KorSelectList.h"
#include "dbtree/TreeDBEd.h"
#include "dialogs/KorPrompts.h"
#include "i18n/KorTranslate.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

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
        QTest::newRow("code/parent without code") << 0 << "" << "parent" << "name" << SDBCodeParentTextNeeded.Text();
        QTest::newRow("code/parent without text") << 0 << "code" << "parent" << "" << SDBCodeParentTextNeeded.Text();
        QTest::newRow("grouped without text") << 1 << "" << "kind" << "" << SDBTextFieldsNeeded.Text();
        QTest::newRow("master without text") << 2 << "" << "" << "" << SDBMasterFieldsNeeded.Text();
        QTest::newRow("master without detail") << 2 << "" << "" << "name" << SDBDetailFieldsNeeded.Text();
    }
    void validation()
    {
        QFETCH(int, situation);
        QFETCH(QString, code);
        QFETCH(QString, parent);
        QFETCH(QString, text);
        QFETCH(QString, message);
        TTreeDataSet *d = FDb->DataSet(FOwner.get(), QStringLiteral("places"));
        TScriptedPromptsGuard prompts;
        prompts->Answers = {paOk};
        TTreeDBEditor wizard(FTree);
        wizard.SetSituation(TTreeDBEditor::TSituation(situation));
        wizard.show();
        QTest::mouseClick(wizard.NextButton(), Qt::LeftButton);
        QCOMPARE(wizard.Page(), 1);
        wizard.DataSetBox()->setCurrentIndex(wizard.DataSetBox()->findText(d->Name()));
        wizard.CodeFieldBox()->setCurrentText(code);
        wizard.ParentFieldEdit()->setText(parent);
        wizard.TextFieldsEdit()->setText(text);
        QVERIFY(!wizard.Apply());
        QCOMPARE(prompts->CallsOf(QStringLiteral("Ask")).size(), size_t(1));
        QCOMPARE(prompts->CallsOf(QStringLiteral("Ask")).front().Text, message);
        QCOMPARE(FTree->Shapes().Count(), 0);
        QVERIFY(wizard.isVisible());
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
    void formats()
    {
        FDb->CreateTable(QStringLiteral("t"), {QStringLiteral("name varchar(9)")}, {{QStringLiteral("a")}});
        TTreeDataSet *d = FDb->DataSet(FOwner.get(), QStringLiteral("t"));
        TScriptedPromptsGuard prompts;
        int shown = 0;
        prompts->OnExec = [&](QDialog &) {
            ++shown;
            return int(QDialog::Accepted);
        };
        TTreeDBEditor wizard(FTree);
        wizard.SetSituation(TTreeDBEditor::dsGrouped);
        wizard.Next();
        wizard.EditFormat(0, false);
        wizard.EditFormat(0, true);
        QCOMPARE(shown, 2);
        QVERIFY(wizard.ApplyButton()->isEnabled());
        TDBLayout *item = FTree->Layout()->Items(0);
        item->Format()->SetColor(clYellow);
        item->HeaderFormat()->SetSimpleText(QStringLiteral("Names"));
        wizard.DataSetBox()->setCurrentIndex(wizard.DataSetBox()->findText(d->Name()));
        wizard.TextFieldsEdit()->setText(QStringLiteral("name"));
        QVERIFY(wizard.Apply());
        QCOMPARE(Outline(*FTree), QStringLiteral("Names\n a\n"));
        QCOMPARE(FTree->Roots()[0]->Children()[0]->Color(), clYellow);
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
        QCOMPARE(prompts->Calls().size(), size_t(0));
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

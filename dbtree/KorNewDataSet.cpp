#include "dbtree/KorNewDataSet.h"

#include "dbtree/DBTreeConst.h"
#include "dbtree/TreeDataSet.h"
#include "dialogs/KorPrompts.h"
#include "i18n/KorTranslate.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>

TNewDataSetForm::TNewDataSetForm(TComponent *owner, QWidget *parent) : QDialog(parent), FOwner(owner)
{
    setObjectName(QStringLiteral("NewDataSetForm"));
    setWindowTitle(SDBNewDataSetCaption.Text());
    FPages = new QStackedWidget(this);

    auto *style = new QWidget(FPages);
    auto *styleLayout = new QVBoxLayout(style);
    auto *styleLabel = new QLabel(QStringLiteral("&DataSet Style:"), style);
    styleLayout->addWidget(styleLabel);
    FSQLite = new QRadioButton(SDBEngineSQLite.Text(), style);
    FPostgreSQL = new QRadioButton(SDBEnginePostgreSQL.Text(), style);
    styleLabel->setBuddy(FSQLite);
    FSQLite->setChecked(true);
    styleLayout->addWidget(FSQLite);
    styleLayout->addWidget(FPostgreSQL);
    styleLayout->addStretch();
    FPages->addWidget(style);

    // One page per engine: where the records are, and which of them.
    const auto enginePage = [this](const QString &engine, QFormLayout *&form) {
        auto *page = new QWidget(FPages);
        auto *layout = new QVBoxLayout(page);
        auto *heading = new QLabel(StripHotkey(engine), page);
        QFont bold = heading->font();
        bold.setBold(true);
        heading->setFont(bold);
        layout->addWidget(heading);
        form = new QFormLayout;
        layout->addLayout(form, 1);
        FPages->addWidget(page);
        return page;
    };
    const auto sourceRows = [this](QWidget *page, QFormLayout *form, QComboBox *&table, QPlainTextEdit *&sql) {
        table = new QComboBox(page);
        table->setEditable(true);
        // The database's own table names.
        table->setProperty(kNoTranslateProperty, true);
        auto *list = new QPushButton(QStringLiteral("&List"), page);
        auto *tableRow = new QHBoxLayout;
        tableRow->addWidget(table, 1);
        tableRow->addWidget(list);
        form->addRow(QStringLiteral("&Table:"), tableRow);
        sql = new QPlainTextEdit(QStringLiteral("select * from "), page);
        form->addRow(QStringLiteral("&SQL Query:"), sql);
        GiveRowsBuddies(form);
        connect(list, &QPushButton::clicked, this, &TNewDataSetForm::ListTables);
    };

    QFormLayout *form = nullptr;
    QWidget *file = enginePage(SDBEngineSQLite.Text(), form);
    FFile = new QLineEdit(file);
    FBrowse = new QPushButton(QStringLiteral("&Browse..."), file);
    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(FFile, 1);
    fileRow->addWidget(FBrowse);
    form->addRow(QStringLiteral("&Database file:"), fileRow);
    sourceRows(file, form, FTables[0], FQueries[0]);

    QWidget *server = enginePage(SDBEnginePostgreSQL.Text(), form);
    FHost = new QLineEdit(QStringLiteral("localhost"), server);
    form->addRow(QStringLiteral("&Host:"), FHost);
    FPort = new QSpinBox(server);
    FPort->setRange(0, 65535);
    FPort->setValue(5432);
    form->addRow(QStringLiteral("P&ort:"), FPort);
    FDatabaseName = new QLineEdit(server);
    form->addRow(QStringLiteral("Data&base:"), FDatabaseName);
    FUser = new QLineEdit(server);
    form->addRow(QStringLiteral("&User:"), FUser);
    FPassword = new QLineEdit(server);
    FPassword->setEchoMode(QLineEdit::Password);
    form->addRow(QStringLiteral("Pass&word:"), FPassword);
    sourceRows(server, form, FTables[1], FQueries[1]);

    FNext = new QPushButton(SDBNext.Text(), this);
    FCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    // Enter in a box goes on, as Next or Finish would.
    FNext->setDefault(true);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(FNext);
    buttons->addWidget(FCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(FPages);
    layout->addLayout(buttons);

    connect(FNext, &QPushButton::clicked, this, &TNewDataSetForm::Next);
    connect(FCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(FBrowse, &QPushButton::clicked, this, [this] {
        TFileDialogOptions options;
        options.Parent = this;
        options.Filter = SDBSQLiteFilter.Text();
        options.InitialName = FFile->text();
        const QString name = Prompts().OpenFileName(options);
        if (!name.isEmpty()) {
            FFile->setText(name);
            ListTables();
        }
    });
}

void TNewDataSetForm::showEvent(QShowEvent *event)
{
    TranslateForm(this);
    QDialog::showEvent(event);
}

int TNewDataSetForm::Page() const
{
    return FPages->currentIndex();
}

TTreeDatabase TNewDataSetForm::Database() const
{
    TTreeDatabase d;
    if (FPostgreSQL->isChecked()) {
        d.Engine = TTreeDatabase::dePostgreSQL;
        d.Host = FHost->text().trimmed();
        d.Port = FPort->value();
        d.DatabaseName = FDatabaseName->text().trimmed();
        d.User = FUser->text().trimmed();
        d.Password = FPassword->text();
    } else {
        d.DatabaseName = FFile->text().trimmed();
    }
    return d;
}

QComboBox *TNewDataSetForm::TableBox() const
{
    return FTables[FPostgreSQL->isChecked() ? 1 : 0];
}

QPlainTextEdit *TNewDataSetForm::SQLEdit() const
{
    return FQueries[FPostgreSQL->isChecked() ? 1 : 0];
}

void TNewDataSetForm::ListTables()
{
    try {
        QComboBox *box = TableBox();
        const QString current = box->currentText();
        const QStringList tables = TTreeDataSet::TableNames(Database());
        box->clear();
        box->addItems(tables);
        box->setCurrentText(current.isEmpty() && !tables.isEmpty() ? tables.first() : current);
    } catch (const Exception &e) {
        Prompts().Message(this, pkError, e.Message());
    }
}

void TNewDataSetForm::Next()
{
    if (FPages->currentIndex() == 0) {
        // The chosen engine's page.
        FPages->setCurrentIndex(FPostgreSQL->isChecked() ? 2 : 1);
        FNext->setText(SDBFinish.Text());
        return;
    }
    if (Finish())
        accept();
}

bool TNewDataSetForm::Finish()
{
    QString sql = SQLEdit()->toPlainText().trimmed();
    // The text the page starts with asks for nothing yet.
    if (sql.compare(QLatin1String("select * from"), Qt::CaseInsensitive) == 0)
        sql.clear();
    const QString table = TableBox()->currentText().trimmed();
    auto dataSet = std::make_unique<TTreeDataSet>();
    dataSet->SetDatabase(Database());
    if (!sql.isEmpty())
        dataSet->SetSQL(sql);
    else
        dataSet->SetTableName(table);
    try {
        dataSet->Open();
    } catch (const Exception &e) {
        Prompts().Message(this, pkError, e.Message());
        return false;
    }
    if (FOwner) {
        FOwner->InsertComponent(dataSet.get());
        dataSet->SetName(FOwner->FirstFreeName(sql.isEmpty() ? QStringLiteral("Table") : QStringLiteral("Query")));
    }
    FCreated = dataSet.release();
    return true;
}

void GiveRowsBuddies(QFormLayout *form)
{
    for (int row = 0; row < form->rowCount(); ++row) {
        auto *label = qobject_cast<QLabel *>(form->itemAt(row, QFormLayout::LabelRole)
                                                 ? form->itemAt(row, QFormLayout::LabelRole)->widget()
                                                 : nullptr);
        QLayoutItem *field = form->itemAt(row, QFormLayout::FieldRole);
        if (label && !label->buddy() && field && field->layout() && field->layout()->count() > 0)
            label->setBuddy(field->layout()->itemAt(0)->widget());
    }
}

TTreeDataSet *NewDataSet(QWidget *parent, TComponent *owner)
{
    TNewDataSetForm form(owner, parent);
    if (Prompts().Exec(form) != QDialog::Accepted)
        return nullptr;
    TTreeDataSet *d = form.Created();
    // Without an owner nobody would free it.
    if (d && !owner) {
        delete d;
        return nullptr;
    }
    return d;
}

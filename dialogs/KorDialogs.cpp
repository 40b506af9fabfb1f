#include "dialogs/KorDialogs.h"

#include "canvas/KorFont.h"
#include "canvas/Picture.h"
#include "dialogs/DialogConst.h"
#include "dialogs/KorEditTarget.h"
#include "dialogs/KorPrompts.h"
#include "i18n/KorTranslate.h"
#include "model/TreeDocument.h"

#include <QDialogButtonBox>
#include <QPushButton>

#include <QImageReader>
#include <QLayout>
#include <QVBoxLayout>

TKorDialog::TKorDialog(QWidget *parent) : QDialog(parent) {}

void TKorDialog::showEvent(QShowEvent *event)
{
    TranslateForm(this);
    QDialog::showEvent(event);
}

void TKorDialog::EmbedIn(QWidget *page)
{
    FEmbedded = true;
    setWindowFlags(Qt::Widget);
    setParent(page);
    if (QWidget *row = ButtonRow())
        row->hide();
    if (!page->layout()) {
        auto *layout = new QVBoxLayout(page);
        layout->setContentsMargins(4, 4, 4, 4);
    }
    page->layout()->addWidget(this);
    TranslateForm(this);
    show();
}

QDialogButtonBox *NewOkCancelRow(QDialog *dialog, Qt::Orientation orientation)
{
    auto *buttons = new QDialogButtonBox(orientation);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

bool RunEditDialog(QDialog &dialog, const TEditTarget &target)
{
    TTreeStep step(target.InDiagram() ? target.Tree() : nullptr, SStepFormat);
    return Prompts().Exec(dialog) == QDialog::Accepted;
}

TColor EditColor(QWidget *owner, TColor color)
{
    TColor chosen = color;
    return Prompts().PickColor(owner, chosen) ? chosen : color;
}

bool EditFont(QWidget *owner, TFont *font)
{
    if (!font)
        return false;
    QFont q = font->ToQFont();
    if (font->Size() > 0)
        q.setPointSize(font->Size());
    if (!Prompts().PickFont(owner, q))
        return false;
    font->SetName(q.family());
    if (q.pointSize() > 0)
        font->SetSize(q.pointSize());
    else if (q.pixelSize() > 0)
        font->SetHeight(-q.pixelSize());
    TFontStyles style = 0;
    if (q.bold())
        style |= SetBit(fsBold);
    if (q.italic())
        style |= SetBit(fsItalic);
    if (q.underline())
        style |= SetBit(fsUnderline);
    if (q.strikeOut())
        style |= SetBit(fsStrikeOut);
    font->SetStyle(style);
    return true;
}

QString AskPictureFile(QWidget *owner)
{
    QStringList patterns;
    for (const QByteArray &format : QImageReader::supportedImageFormats())
        patterns << QStringLiteral("*.") + QString::fromLatin1(format);
    const QString list = patterns.join(QLatin1Char(';'));
    TFileDialogOptions options;
    options.Parent = owner;
    options.Title = SOpenPictureTitle;
    options.Filter = FormatMessage(SPictureFilter, {list, list});
    return Prompts().OpenFileName(options);
}

bool LoadPictureAsked(QWidget *owner, const QString &fileName, TPicture &picture)
{
    if (fileName.isEmpty())
        return false;
    TPicture loaded;
    if (!loaded.LoadFromFile(fileName)) {
        Prompts().Message(owner, pkError, FormatMessage(SCannotLoadPicture, {fileName}));
        return false;
    }
    picture.Assign(&loaded);
    return true;
}

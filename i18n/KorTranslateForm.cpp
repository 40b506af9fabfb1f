// Translating a form: its caption, then everything it holds in the order
// it was made, with one string of used hotkeys for the whole form.

#include "i18n/KorTranslate.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QDockWidget>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QTreeWidget>

const char *const kNoTranslateProperty = "dendrixNoTranslate";

namespace {

// Set on what was translated, with the language it was translated into, so
// that showing a form again leaves its texts alone.
const char *const kTranslatedProperty = "_dendrixTranslatedInto";
// The hotkeys a form's texts took, for what it adds later.
const char *const kHotkeysProperty = "_dendrixHotkeys";

// Walks a form's texts in the order they are translated. Translating, it
// replaces each text by its translation and marks what it did; collecting
// (`collect` set), it hands every text over and changes nothing.
class TFormWalk
{
public:
    explicit TFormWalk(QWidget *form, std::function<void(const QString &)> collect = {})
        : FForm(form), FLanguage(ActiveLanguage() + 1), FCollect(std::move(collect))
    {
        FUsed = form->property(kHotkeysProperty).toString();
    }
    ~TFormWalk()
    {
        if (!FCollect)
            FForm->setProperty(kHotkeysProperty, FUsed);
    }

    void Run()
    {
        if (!Done(FForm)) {
            QString caption = FForm->windowTitle();
            if (Text(caption))
                FForm->setWindowTitle(caption);
            TranslateWidget(FForm);
            Mark(FForm);
        }
        Children(FForm);
    }

private:
    bool Text(QString &text)
    {
        if (!FCollect)
            return TranslateText(text, FUsed);
        FCollect(text);
        return false;
    }

    bool Done(QObject *o) const { return !FCollect && o->property(kTranslatedProperty).toInt() == FLanguage; }
    void Mark(QObject *o)
    {
        if (!FCollect)
            o->setProperty(kTranslatedProperty, FLanguage);
    }

    void Children(QObject *parent)
    {
        for (QObject *child : parent->children()) {
            if (child->property(kNoTranslateProperty).toBool())
                continue;
            // A dialog the form holds is a form of its own.
            if (qobject_cast<QDialog *>(child))
                continue;
            if (!Done(child)) {
                Mark(child);
                if (auto *action = qobject_cast<QAction *>(child))
                    TranslateAction(action);
                else if (auto *widget = qobject_cast<QWidget *>(child))
                    TranslateWidget(widget);
            }
            Children(child);
        }
    }

    void TranslateAction(QAction *a)
    {
        if (a->isSeparator())
            return;
        // A tool tip left to its default follows the text.
        FProbe.setText(a->text());
        const bool ownTip = a->toolTip() != FProbe.toolTip();
        QString text = a->text();
        if (Text(text))
            a->setText(text);
        if (ownTip) {
            QString tip = a->toolTip();
            if (Text(tip))
                a->setToolTip(tip);
        }
        QString status = a->statusTip();
        if (!status.isEmpty() && Text(status))
            a->setStatusTip(status);
    }

    void TranslateWidget(QWidget *w)
    {
        if (auto *label = qobject_cast<QLabel *>(w)) {
            QString text = label->text();
            if (label->textFormat() != Qt::RichText && !Qt::mightBeRichText(text) && Text(text)) {
                label->setText(text);
                // Fits its new text where no layout sizes it.
                if (!label->parentWidget() || !label->parentWidget()->layout())
                    label->adjustSize();
            }
        } else if (auto *combo = qobject_cast<QComboBox *>(w)) {
            const int index = combo->currentIndex();
            for (int i = 0; i < combo->count(); ++i) {
                QString item = combo->itemText(i);
                if (Text(item))
                    combo->setItemText(i, item);
            }
            if (combo->currentIndex() != index)
                combo->setCurrentIndex(index);
        } else if (auto *list = qobject_cast<QListWidget *>(w)) {
            const int row = list->currentRow();
            for (int i = 0; i < list->count(); ++i) {
                QString item = list->item(i)->text();
                if (Text(item))
                    list->item(i)->setText(item);
            }
            if (list->currentRow() != row)
                list->setCurrentRow(row);
        } else if (auto *group = qobject_cast<QGroupBox *>(w)) {
            QString title = group->title();
            if (Text(title))
                group->setTitle(title);
        } else if (auto *pages = qobject_cast<QTabWidget *>(w)) {
            for (int i = 0; i < pages->count(); ++i) {
                QString text = pages->tabText(i);
                if (Text(text))
                    pages->setTabText(i, text);
                QString tip = pages->tabToolTip(i);
                if (!tip.isEmpty() && Text(tip))
                    pages->setTabToolTip(i, tip);
            }
            // Its tab bar shows the same texts.
            Mark(pages->tabBar());
        } else if (auto *tabs = qobject_cast<QTabBar *>(w)) {
            for (int i = 0; i < tabs->count(); ++i) {
                QString text = tabs->tabText(i);
                if (Text(text))
                    tabs->setTabText(i, text);
                QString tip = tabs->tabToolTip(i);
                if (!tip.isEmpty() && Text(tip))
                    tabs->setTabToolTip(i, tip);
            }
        } else if (auto *tree = qobject_cast<QTreeWidget *>(w)) {
            if (QTreeWidgetItem *header = tree->headerItem())
                for (int c = 0; c < header->columnCount(); ++c) {
                    QString text = header->text(c);
                    if (Text(text))
                        header->setText(c, text);
                }
        } else if (auto *table = qobject_cast<QTableWidget *>(w)) {
            for (int c = 0; c < table->columnCount(); ++c)
                if (QTableWidgetItem *item = table->horizontalHeaderItem(c)) {
                    QString text = item->text();
                    if (Text(text))
                        item->setText(text);
                }
        } else if (auto *dock = qobject_cast<QDockWidget *>(w)) {
            QString title = dock->windowTitle();
            if (Text(title))
                dock->setWindowTitle(title);
        } else if (auto *button = qobject_cast<QAbstractButton *>(w)) {
            auto *tool = qobject_cast<QToolButton *>(w);
            // A tool button showing an action follows the action.
            if (!tool || !tool->defaultAction()) {
                QString text = button->text();
                if (Text(text))
                    button->setText(text);
            }
        }
        if (auto *custom = dynamic_cast<TTranslatableControl *>(w))
            custom->TranslateTexts([this](QString &text) { return Text(text); });
        // The hint of any control.
        QString tip = w->toolTip();
        if (!tip.isEmpty() && Text(tip))
            w->setToolTip(tip);
    }

    QWidget *FForm;
    int FLanguage;
    std::function<void(const QString &)> FCollect;
    QString FUsed;
    QAction FProbe;
};

} // namespace

void TranslateForm(QWidget *form)
{
    if (!form || !ActiveTable())
        return;
    TFormWalk(form).Run();
}

QStringList FormTexts(QWidget *form)
{
    QStringList texts;
    if (form)
        TFormWalk(form, [&texts](const QString &text) { texts << text; }).Run();
    return texts;
}

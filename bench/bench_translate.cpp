// Translating forms: a form with a control of each kind for every key of
// the Spanish vocabulary (some 500 captions, items, tabs, menu entries and
// hints; bigger than any window of the program), in Spanish and in
// Japanese's hotkey style. Goal: the biggest form in at most 5 ms.

#include "i18n/KorLanguages.h"
#include "i18n/KorTranslate.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

// The English captions behind the keys, as forms write them.
QStringList Captions()
{
    QStringList out;
    for (TVocabularyLayer layer : {vlEditor, vlApplication, vlDiagram})
        for (const QString &line : ReadLanguageFile(lnSpanish, LayerFileName(layer))) {
            const QString key = line.left(line.indexOf(QLatin1Char('=')));
            out << QLatin1Char('&') + key.left(1) + key.mid(1).toLower();
        }
    return out;
}

std::unique_ptr<QMainWindow> BigForm(const QStringList &captions)
{
    auto form = std::make_unique<QMainWindow>();
    form->setWindowTitle(QStringLiteral("Options"));
    auto *central = new QWidget(form.get());
    form->setCentralWidget(central);
    auto *layout = new QVBoxLayout(central);
    QMenu *menu = form->menuBar()->addMenu(QStringLiteral("&File"));
    auto *combo = new QComboBox(central);
    auto *list = new QListWidget(central);
    auto *pages = new QTabWidget(central);
    auto *group = new QGroupBox(QStringLiteral("Style"), central);
    auto *groupLayout = new QVBoxLayout(group);
    layout->addWidget(combo);
    layout->addWidget(list);
    layout->addWidget(pages);
    layout->addWidget(group);
    for (int i = 0; i < captions.size(); ++i) {
        const QString &c = captions.at(i);
        switch (i % 6) {
        case 0:
            menu->addAction(c + QStringLiteral("..."));
            break;
        case 1: {
            auto *b = new QPushButton(c, group);
            b->setToolTip(c.mid(1));
            groupLayout->addWidget(b);
            break;
        }
        case 2:
            groupLayout->addWidget(new QLabel(c + QLatin1Char(':'), group));
            break;
        case 3:
            combo->addItem(c.mid(1));
            list->addItem(c.mid(1));
            break;
        case 4:
            pages->addTab(new QWidget, c);
            break;
        default:
            groupLayout->addWidget(new QCheckBox(c, group));
            break;
        }
    }
    return form;
}

void TranslateBigForm(benchmark::State &state, int language)
{
    ResetLanguages();
    ApplyLanguage(language, false);
    const QStringList captions = Captions();
    for (auto _ : state) {
        state.PauseTiming();
        auto form = BigForm(captions);
        state.ResumeTiming();
        TranslateForm(form.get());
        state.PauseTiming();
        form.reset();
        state.ResumeTiming();
    }
    state.counters["captions"] = captions.size();
}

void BM_TranslateBigFormSpanish(benchmark::State &state)
{
    TranslateBigForm(state, lnSpanish);
}
void BM_TranslateBigFormJapanese(benchmark::State &state)
{
    TranslateBigForm(state, lnJapanese);
}
BENCHMARK(BM_TranslateBigFormSpanish)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TranslateBigFormJapanese)->Unit(benchmark::kMillisecond);

// Applying a language the first time: reading its data and building the
// table, then assigning its messages.
void BM_ApplyLanguageFirstTime(benchmark::State &state)
{
    for (auto _ : state) {
        ResetLanguages();
        ApplyLanguage(lnGerman, false);
    }
    ResetLanguages();
}
BENCHMARK(BM_ApplyLanguageFirstTime)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

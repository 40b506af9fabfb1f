// The node pictures compiled into the model library: all nineteen present at
// the sizes the image pool lays nodes out with, stored as 16-colour bitmaps,
// each keyed on its top-left colour so that the key is background only and
// the drawing stays opaque.

#include "model/ModelResources.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QtTest>

#include <algorithm>
#include <vector>

namespace {
const QString Folder = QStringLiteral(":/dendrix/images");

QString PathOf(const QString &name)
{
    return Folder + '/' + name + QStringLiteral(".bmp");
}

QImage Load(const QString &name)
{
    return QImage(PathOf(name)).convertToFormat(QImage::Format_RGB32);
}

// biBitCount of the file's info header; -1 when it is no bitmap file.
int StoredBitsPerPixel(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray head = f.read(30);
    if (head.size() < 30 || !head.startsWith("BM"))
        return -1;
    return quint8(head[28]) | quint8(head[29]) << 8;
}

int CountPixels(const QImage &img, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += img.pixel(x, y) == colour;
    return n;
}

// Key-coloured pixels that no path of key-coloured pixels (stepping left,
// right, up or down) joins to the edge: see-through holes in the drawing.
int EnclosedKeyPixels(const QImage &img, QRgb key)
{
    const int w = img.width(), h = img.height();
    std::vector<bool> reached(size_t(w) * size_t(h), false);
    std::vector<QPoint> todo;
    auto visit = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= w || y >= h || img.pixel(x, y) != key)
            return;
        const size_t i = size_t(y) * size_t(w) + size_t(x);
        if (!reached[i]) {
            reached[i] = true;
            todo.push_back(QPoint(x, y));
        }
    };
    for (int x = 0; x < w; ++x) {
        visit(x, 0);
        visit(x, h - 1);
    }
    for (int y = 0; y < h; ++y) {
        visit(0, y);
        visit(w - 1, y);
    }
    while (!todo.empty()) {
        const QPoint p = todo.back();
        todo.pop_back();
        visit(p.x() - 1, p.y());
        visit(p.x() + 1, p.y());
        visit(p.x(), p.y() - 1);
        visit(p.x(), p.y() + 1);
    }
    return CountPixels(img, key) - int(std::count(reached.begin(), reached.end(), true));
}

struct TPoolPicture
{
    const char *Name;
    int Width, Height;
};

const TPoolPicture Pool[] = {
    {"TREEFLDCLOSE", 15, 13},        {"TREEFLDOPEN", 15, 13},
    {"TREEDESKTOP", 16, 16},         {"TREEMYPC", 15, 14},
    {"TREENETWORKNEI", 16, 16},      {"TREEFLOPPY3", 16, 9},
    {"TREERECYCLEBIN", 16, 16},      {"TREEHARDDISK", 16, 9},
    {"TREENETSHARE", 16, 11},        {"TREECOMPUTER", 16, 16},
    {"TREEWORLD", 11, 16},           {"TREEFLDCLOSECHECKED", 30, 13},
    {"TREEFLDCLOSEUNCHECK", 30, 13}, {"TREECHECKED", 12, 12},
    {"TREEUNCHECKED", 12, 12},       {"TREERADIOCHECKED", 12, 12},
    {"TREERADIOUNCHECKED", 12, 12},  {"TREEFLDRADIOCHECKED", 30, 13},
    {"TREEFLDRADIOUNCHECKED", 30, 13},
};
} // namespace

class TestBuiltinImages : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void exactlyThePoolPictures();
    void picture_data();
    void picture();
    void samePicturesDiffer();
    void boxBesideFolder_data();
    void boxBesideFolder();
};

void TestBuiltinImages::initTestCase()
{
    InitModelResources();
    InitModelResources(); // a second call must leave the registration intact
}

void TestBuiltinImages::exactlyThePoolPictures()
{
    QStringList expected;
    for (const TPoolPicture &p : Pool)
        expected << QString::fromLatin1(p.Name) + QStringLiteral(".bmp");
    expected.sort();
    QCOMPARE(QDir(Folder).entryList(QDir::Files, QDir::Name), expected);
}

void TestBuiltinImages::picture_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    for (const TPoolPicture &p : Pool)
        QTest::newRow(p.Name) << QString::fromLatin1(p.Name) << QSize(p.Width, p.Height);
}

void TestBuiltinImages::picture()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);

    QCOMPARE(StoredBitsPerPixel(PathOf(name)), 4);
    const QImage stored(PathOf(name));
    QVERIFY(!stored.isNull());
    QCOMPARE(stored.size(), size);
    QVERIFY(stored.colorCount() >= 2 && stored.colorCount() <= 16);

    // The pool keys transparency on the top-left pixel: the key must be the
    // background around the drawing, leaving a good part of the picture
    // opaque and no see-through holes inside it.
    const QImage img = Load(name);
    const QRgb key = img.pixel(0, 0);
    const int opaque = img.width() * img.height() - CountPixels(img, key);
    QVERIFY2(opaque * 4 >= img.width() * img.height(),
             qPrintable(QStringLiteral("only %1 opaque pixels").arg(opaque)));
    QCOMPARE(EnclosedKeyPixels(img, key), 0);
}

void TestBuiltinImages::samePicturesDiffer()
{
    for (const TPoolPicture &a : Pool)
        for (const TPoolPicture &b : Pool)
            if (qstrcmp(a.Name, b.Name) < 0 && a.Width == b.Width && a.Height == b.Height)
                QVERIFY2(Load(a.Name) != Load(b.Name),
                         qPrintable(QStringLiteral("%1 = %2").arg(a.Name, b.Name)));
}

void TestBuiltinImages::boxBesideFolder_data()
{
    QTest::addColumn<QString>("combined");
    QTest::addColumn<QString>("box");
    QTest::newRow("checked") << "TREEFLDCLOSECHECKED" << "TREECHECKED";
    QTest::newRow("unchecked") << "TREEFLDCLOSEUNCHECK" << "TREEUNCHECKED";
    QTest::newRow("radio checked") << "TREEFLDRADIOCHECKED" << "TREERADIOCHECKED";
    QTest::newRow("radio unchecked") << "TREEFLDRADIOUNCHECKED" << "TREERADIOUNCHECKED";
}

// The pictures of a box with a folder show the same box and the same closed
// folder as the pictures of each alone, so nodes with and without a box
// look alike: the box one row down at the left, the folder at the right.
void TestBuiltinImages::boxBesideFolder()
{
    QFETCH(QString, combined);
    QFETCH(QString, box);
    const QImage whole = Load(combined);
    const QImage folder = Load(QStringLiteral("TREEFLDCLOSE"));
    const QImage boxAlone = Load(box);
    QCOMPARE(whole.copy(whole.width() - folder.width(), 0, folder.width(), folder.height()), folder);
    QCOMPARE(whole.copy(0, 1, boxAlone.width(), boxAlone.height()), boxAlone);
    QCOMPARE(whole.pixel(0, 0), folder.pixel(0, 0));
}

QTEST_GUILESS_MAIN(TestBuiltinImages)
#include "tst_builtin_images.moc"

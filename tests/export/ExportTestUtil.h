// Shared helpers of the export tests: files, diagrams that use many kinds
// of drawing, and the comparison of pictures.

#pragma once

#include "../view/ViewTestUtil.h"
#include "export/KorExport.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdlib>

inline bool WriteFileBytes(const QString &name, const QByteArray &bytes)
{
    QFile f(name);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

inline QByteArray ReadFileBytes(const QString &name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A diagram file "<dir>/a.abx" of the outline Alpha, Beta whose nodes'
// text is stored under a property this program does not know (same length,
// so the file stays well formed); empty when it could not be made.
inline QString DiagramWithUnknownProperty(const QTemporaryDir &dir)
{
    const QString txt = dir.filePath(QStringLiteral("a.txt"));
    const QString abx = dir.filePath(QStringLiteral("a.abx"));
    QString errors;
    QTextStream err(&errors);
    if (!WriteFileBytes(txt, "Alpha\n Beta\n") || RunExportCommand(abx, txt, err) != 0)
        return QString();
    QFile f(abx);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    QByteArray bytes = f.readAll();
    f.close();
    if (!bytes.contains("Text.Strings"))
        return QString();
    bytes.replace("Text.Strings", "Text.Strongs");
    return WriteFileBytes(abx, bytes) ? abx : QString();
}

// A small diagram of solid lines at right angles, filled rectangles and
// text: every format shows it the same.
inline void BuildPlainDiagram(TTree *t)
{
    TTreeNodeShape *a = t->AddRoot(QStringLiteral("Root"));
    Place(a, 20, 10, 110, 40);
    a->SetColor(clYellow);
    for (int i = 0; i < 3; ++i) {
        TTreeNodeShape *c = a->AddChild(QStringLiteral("Child %1").arg(i));
        Place(c, 40 + 30 * i, 70 + 50 * i, 130 + 30 * i, 95 + 50 * i);
        c->SetColor(i == 0 ? clAqua : i == 1 ? clLime : clWhite);
    }
    a->SetExpanded(true);
    for (TTreeConnection *c : t->Connections()) {
        c->SetStyle(csSides);
        c->Border()->SetColor(clBlue);
        c->Border()->SetSmallDots(false);
        c->Border()->SetStyle(psSolid);
    }
}

// A diagram using every node style, a gradient, a shadow and
// transparency: the vector formats must carry all of it.
inline void BuildRichDiagram(TTree *t)
{
    BuildPlainDiagram(t);
    const TTreeShapeStyle styles[] = {tssRectangle, tssCircle, tssVertLine, tssHorizLine, tssLine, tssInvertLine,
                                      tssDiamond, tssTriangleTop, tssTriangleBottom, tssTriangleLeft,
                                      tssTriangleRight, tssRoundRectangle};
    int x = 180;
    for (TTreeShapeStyle s : styles) {
        TTreeNodeShape *n = t->AddRoot(QStringLiteral("S"));
        Place(n, x, 20, x + 40, 60);
        n->SetStyle(s);
        n->SetColor(clRed);
        x += 50;
    }
    TTreeNodeShape *g = t->AddRoot(QStringLiteral("Gradient"));
    Place(g, 180, 90, 300, 140);
    g->Gradient()->SetVisible(true);
    g->Gradient()->SetStartColor(clBlue);
    g->Gradient()->SetEndColor(clWhite);
    TTreeNodeShape *s = t->AddRoot(QStringLiteral("Shadow"));
    Place(s, 320, 90, 420, 140);
    s->Shadow()->SetHorizSize(4);
    s->Shadow()->SetVertSize(4);
    TTreeNodeShape *tr = t->AddRoot(QStringLiteral("Half"));
    Place(tr, 440, 90, 540, 140);
    tr->SetColor(clGreen);
    tr->SetTransparency(50);
}

// How alike two pictures are: the share of pixels whose channels all lie
// within `tolerance`.
inline double Agreement(const QImage &a, const QImage &b, int tolerance)
{
    if (a.size() != b.size() || a.isNull())
        return 0;
    const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
    qint64 same = 0;
    for (int r = 0; r < x.height(); ++r) {
        const auto *p = reinterpret_cast<const QRgb *>(x.constScanLine(r));
        const auto *q = reinterpret_cast<const QRgb *>(y.constScanLine(r));
        for (int c = 0; c < x.width(); ++c)
            same += std::abs(qRed(p[c]) - qRed(q[c])) <= tolerance && std::abs(qGreen(p[c]) - qGreen(q[c])) <= tolerance &&
                    std::abs(qBlue(p[c]) - qBlue(q[c])) <= tolerance;
    }
    return double(same) / (double(x.width()) * x.height());
}

// A picture file decoded by a Debian command-line tool writing PPM to
// standard output ("pcxtoppm", "pdftoppm -r 96"); null when it fails.
inline QImage DecodeWithTool(const QString &program, QStringList arguments, const QString &file)
{
    QProcess p;
    arguments << file;
    p.start(program, arguments);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QImage();
    QImage image;
    image.loadFromData(p.readAllStandardOutput(), "PPM");
    return image;
}

// The program's printer replaced for a test: the PDF file only (A4 at
// 300 dpi: a page of 2479 x 3508 pixels), or none at all. The previous
// printer comes back afterwards.
#include "canvas/KorPrinter.h"

class TPrinterGuard
{
public:
    explicit TPrinterGuard(bool pdfFile = true)
        : FPrevious(InstallPrinter(std::make_unique<TKorPrinter>(false, pdfFile)))
    {
    }
    ~TPrinterGuard() { InstallPrinter(std::move(FPrevious)); }
    TPrinterGuard(const TPrinterGuard &) = delete;
    TPrinterGuard &operator=(const TPrinterGuard &) = delete;
    TKorPrinter *operator->() const { return &Printer(); }

private:
    std::unique_ptr<TKorPrinter> FPrevious;
};

// The first page of a PDF file rendered at the given size; null when the
// tool is missing or fails.
inline QImage RenderPdfPage(const QString &file, const QSize &size)
{
    return DecodeWithTool(QStringLiteral("pdftoppm"),
                          {QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"),
                           QStringLiteral("-scale-to-x"), QString::number(size.width()), QStringLiteral("-scale-to-y"),
                           QString::number(size.height())},
                          file);
}

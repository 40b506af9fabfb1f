// The drawing property objects in the component stream: a font's shadow,
// gradient and outline written under their paths, pens and brushes with
// their named values, and all of it read back.

#include "canvas/ChartBrush.h"
#include "canvas/ChartPen.h"
#include "canvas/KorFont.h"
#include "core/Component.h"
#include "core/Reader.h"
#include "core/Writer.h"

#include <QBuffer>
#include <QtTest>
#include <memory>

namespace {

// An element-like owner of a font, a pen and a brush, created on first use.
class TStyledBox : public TComponent
{
    DX_OBJECT(TStyledBox)
public:
    using TComponent::TComponent;
    TKorFont *PeekFont() const { return FFont.get(); }
    TKorFont *Font() { return Make(FFont); }
    TChartPen *PeekBorder() const { return FBorder.get(); }
    TChartPen *Border() { return Make(FBorder); }
    TChartBrush *PeekBrush() const { return FBrush.get(); }
    TChartBrush *Brush() { return Make(FBrush); }

private:
    template <class T>
    static T *Make(std::unique_ptr<T> &p)
    {
        if (!p)
            p = std::make_unique<T>();
        return p.get();
    }
    std::unique_ptr<TKorFont> FFont;
    std::unique_ptr<TChartPen> FBorder;
    std::unique_ptr<TChartBrush> FBrush;
};

const TClassInfo &TStyledBox::StaticClassInfo()
{
    using C = TStyledBox;
    static const TClassInfo info = TClassBuilder<C>("TStyledBox", TComponent::StaticClassInfo())
                                       .Object<TChartPen>("Border", &C::PeekBorder, &C::Border)
                                       .Object<TChartBrush>("Brush", &C::PeekBrush, &C::Brush)
                                       .Object<TKorFont>("Font", &C::PeekFont, &C::Font);
    return info;
}

QByteArray Short(const QByteArray &s)
{
    return char(s.size()) + s;
}

} // namespace

class TestCanvasStream : public QObject
{
    Q_OBJECT
private slots:
    void drawingObjectsRoundTrip();
};

void TestCanvasStream::drawingObjectsRoundTrip()
{
    TStyledBox box;
    box.SetName(QStringLiteral("Box1"));
    // Sub-objects holding only defaults write nothing.
    box.Font();
    box.Border();
    box.Brush();
    QBuffer empty;
    empty.open(QIODevice::WriteOnly);
    {
        TWriter writer(empty);
        writer.WriteRootComponent(box);
    }
    QCOMPARE(empty.data(), QByteArray("TPF0") + Short("TStyledBox") + Short("Box1") + QByteArray(2, 0));

    box.Font()->Shadow()->SetHorizSize(3);
    box.Font()->Shadow()->SetColor(clGray);
    box.Font()->Gradient()->SetVisible(true);
    box.Font()->OutLine()->SetVisible(true);
    box.Font()->SetStyle(SetBit(fsBold) | SetBit(fsItalic));
    box.Font()->SetCharset(161);
    box.Font()->SetName(QStringLiteral("DejaVu Sans"));
    box.Font()->SetHeight(-20);
    box.Border()->SetStyle(psDot);
    box.Border()->SetWidth(3);
    box.Border()->SetColor(clRed);
    box.Brush()->SetStyle(bsCross);
    box.Brush()->SetColor(0x102030);

    QBuffer out;
    out.open(QIODevice::WriteOnly);
    {
        TWriter writer(out);
        writer.WriteRootComponent(box);
    }
    const QByteArray stream = out.data();
    QVERIFY(stream.contains(Short("Font.Shadow.HorizSize") + QByteArray::fromHex("0203")));
    QVERIFY(stream.contains(Short("Font.Shadow.Color") + QByteArray::fromHex("07") + Short("clGray")));
    QVERIFY(stream.contains(Short("Font.Style") + QByteArray::fromHex("0B") + Short("fsBold") + Short("fsItalic") +
                            QByteArray(1, 0)));
    QVERIFY(stream.contains(Short("Font.Charset") + QByteArray::fromHex("07") + Short("GREEK_CHARSET")));
    QVERIFY(stream.contains(Short("Border.Style") + QByteArray::fromHex("07") + Short("psDot")));
    QVERIFY(stream.contains(Short("Font.OutLine.Visible") + QByteArray::fromHex("09")));
    QVERIFY(!stream.contains(Short("Font.Size"))); // never stored

    TStyledBox copy;
    QBuffer in;
    in.setData(stream);
    in.open(QIODevice::ReadOnly);
    TReader reader(in);
    reader.ReadSignature();
    reader.ReadRootComponent(copy);
    QCOMPARE(copy.Name(), QStringLiteral("Box1"));
    QCOMPARE(copy.PeekFont()->ShadowHorizSize(), 3);
    QCOMPARE(copy.PeekFont()->PeekShadow()->Color(), clGray);
    QVERIFY(copy.PeekFont()->PeekGradient()->Visible());
    QVERIFY(copy.PeekFont()->PeekOutLine()->Visible());
    QCOMPARE(copy.PeekFont()->Style(), SetBit(fsBold) | SetBit(fsItalic));
    QCOMPARE(copy.PeekFont()->Charset(), 161);
    QCOMPARE(copy.PeekFont()->Name(), QStringLiteral("DejaVu Sans"));
    QCOMPARE(copy.PeekFont()->Height(), -20);
    QCOMPARE(copy.PeekBorder()->Style(), psDot);
    QCOMPARE(copy.PeekBorder()->Width(), 3);
    QCOMPARE(copy.PeekBorder()->Color(), clRed);
    QCOMPARE(copy.PeekBrush()->Style(), bsCross);
    QCOMPARE(copy.PeekBrush()->Color(), 0x102030);
    QCOMPARE(copy.PeekBrush()->PeekImage(), nullptr);
}

QTEST_GUILESS_MAIN(TestCanvasStream)
#include "tst_canvas_stream.moc"

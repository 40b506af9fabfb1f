#include "shapes/TreeFlow.h"

#include "model/ShapePalette.h"
#include "shapes/ShapesConst.h"

void RegisterFlowShapes()
{
    const QString flow = SFlowChartPage;
    AddPaletteShape<TDecisionShape>(flow, QStringLiteral("Decision"));
    AddPaletteShape<TProcessShape>(flow, QStringLiteral("Process"));
    AddPaletteShape<TPredefinedProcessShape>(flow, QStringLiteral("Predefined Process"));
    AddPaletteShape<TTerminalShape>(flow, QStringLiteral("Terminal"));
    AddPaletteShape<TConnectorShape>(flow, QStringLiteral("Connector"));
    AddPaletteShape<TInputOutputShape>(flow, QStringLiteral("Input/Output"));
    AddPaletteShape<TManualOperationShape>(flow, QStringLiteral("Manual Operation"));
    AddPaletteShape<TSelectShape>(flow, QStringLiteral("Select"));
    AddPaletteShape<TDocumentShape>(flow, QStringLiteral("Document"));
    AddPaletteShape<TPunchCardShape>(flow, QStringLiteral("Punched Card"));
    AddPaletteShape<TPunchTapeShape>(flow, QStringLiteral("Punched Tape"));
    AddPaletteShape<TDelayShape>(flow, QStringLiteral("Delay"));
    AddPaletteShape<TManualInputShape>(flow, QStringLiteral("Manual Input"));
    AddPaletteShape<TAndShape>(flow, QStringLiteral("And"));
    AddPaletteShape<TOrShape>(flow, QStringLiteral("Or"));
    AddPaletteShape<TOnlineStorageShape>(flow, QStringLiteral("Online Storage"));
    AddPaletteShape<TMagneticTapeShape>(flow, QStringLiteral("Magnetic Tape"));

    const QString other = SOtherPage;
    AddPaletteShape<TPentagonShape>(other, QStringLiteral("Pentagon"));
    AddPaletteShape<THexagonShape>(other, QStringLiteral("Hexagon"));
    AddPaletteShape<TOctagonShape>(other, QStringLiteral("Octagon"));
    AddPaletteShape<TCrossShape>(other, QStringLiteral("Cross"));
    AddPaletteShape<TTriangleRectRightShape>(other, QStringLiteral("Triangle Rect. Right"));
    AddPaletteShape<TTriangleRectLeftShape>(other, QStringLiteral("Triangle Rect. Left"));
    AddPaletteShape<THouseShape>(other, QStringLiteral("House"));
    AddPaletteShape<TEnvelopeShape>(other, QStringLiteral("Envelope"));
    AddPaletteShape<TRingShape>(other, QStringLiteral("Ring"));
    AddPaletteShape<TArrowUpShape>(other, QStringLiteral("ArrowUp"));
    AddPaletteShape<TArrowDownShape>(other, QStringLiteral("ArrowDown"));
    AddPaletteShape<TArrowLeftShape>(other, QStringLiteral("ArrowLeft"));
    AddPaletteShape<TArrowRightShape>(other, QStringLiteral("ArrowRight"));
    AddPaletteShape<TCallOutShape>(other, QStringLiteral("CallOut"));
    AddPaletteShape<TStarShape>(other, QStringLiteral("Start"));
    AddPaletteShape<TGridShape>(other, QStringLiteral("Grid"));
    AddPaletteShape<TBeveledShape>(other, QStringLiteral("Bevel"));

    RegisterClass<TFlowChartShape>();
    RegisterClass<TFlowChartCircleShape>();
    RegisterClass<TTriangleRectShape>();
    RegisterClass<TTreeCustomArrowShape>();
    RegisterClass<TGridCellShape>();
    RegisterClass<TConditionShape>();
    RegisterClass<TTitleShape>();
    RegisterClass<TCardShape>();
    RegisterClass<TManualShape>();
    RegisterClass<TDataShape>();
    RegisterClass<TTapeShape>();
}

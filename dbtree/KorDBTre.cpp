#include "dbtree/KorDBTre.h"

#include "core/ClassRegistry.h"
#include "core/CoreConst.h"
#include "core/Reader.h"
#include "core/ScopeExit.h"
#include "core/Writer.h"
#include "dbtree/DBTreeConst.h"
#include "shapes/GridShape.h"
#include "shapes/ShapeGalleries.h"

#include <QBuffer>

QStringList SplitFieldList(const QString &list)
{
    if (list.isEmpty())
        return {};
    return list.split(kFieldSeparator);
}

// ---------------------------------------------------------------------------
// TDBLayout

const TClassInfo &TDBLayout::StaticClassInfo()
{
    using L = TDBLayout;
    static const TClassInfo info = TClassBuilder<L>("TDBLayout", TCollectionItem::StaticClassInfo())
                                       .Reference<TTreeDataSet>("DataSet", &L::DataSet, &L::SetDataSet)
                                       .Enum("DisplayMode", &L::DisplayMode, &L::SetDisplayMode, ldSingle)
                                       .String("Fields", &L::Fields, &L::SetFields)
                                       .String("CodeField", &L::CodeField, &L::SetCodeField)
                                       .String("ParentField", &L::ParentField, &L::SetParentField);
    return info;
}

TDBLayout::TDBLayout() = default;
TDBLayout::~TDBLayout() = default;

TCustomDBTree *TDBLayout::Tree() const
{
    auto *layout = dynamic_cast<TDBTreeLayout *>(Collection());
    return layout ? layout->Tree() : nullptr;
}

void TDBLayout::SetDataSet(TTreeDataSet *value)
{
    if (value == FDataSet)
        return;
    FDataSet = value;
    if (TCustomDBTree *tree = Tree())
        tree->WatchDataSet(value);
    Changed();
}

void TDBLayout::SetDisplayMode(TDBLayoutDisplayMode value)
{
    if (value == FDisplayMode)
        return;
    FDisplayMode = value;
    Changed();
}

void TDBLayout::SetFields(const QString &value)
{
    if (value == FFields)
        return;
    FFields = value;
    Changed();
}

void TDBLayout::SetCodeField(const QString &value)
{
    if (value == FCodeField)
        return;
    FCodeField = value;
    Changed();
}

void TDBLayout::SetParentField(const QString &value)
{
    if (value == FParentField)
        return;
    FParentField = value;
    Changed();
}

std::unique_ptr<TTreeNodeShape> TDBLayout::NewFormat()
{
    auto node = std::make_unique<TTreeNodeShape>();
    node->SetAutoSize(false);
    node->Border()->SetVisible(false);
    node->SetTransparent(true);
    return node;
}

TTreeNodeShape *TDBLayout::Format()
{
    if (!FFormat)
        FFormat = NewFormat();
    return FFormat.get();
}

void TDBLayout::SetFormat(const TTreeNodeShape *value)
{
    if (!value) {
        FFormat.reset();
        return;
    }
    Format()->Assign(value);
}

TTreeNodeShape *TDBLayout::HeaderFormat()
{
    if (!FHeaderFormat)
        FHeaderFormat = NewFormat();
    return FHeaderFormat.get();
}

void TDBLayout::SetHeaderFormat(const TTreeNodeShape *value)
{
    if (!value) {
        FHeaderFormat.reset();
        return;
    }
    HeaderFormat()->Assign(value);
}

void TDBLayout::Assign(const TPersistent *source)
{
    auto *s = dynamic_cast<const TDBLayout *>(source);
    if (!s) {
        TCollectionItem::Assign(source);
        return;
    }
    SetDataSet(s->FDataSet);
    SetDisplayMode(s->FDisplayMode);
    SetFields(s->FFields);
    SetCodeField(s->FCodeField);
    SetParentField(s->FParentField);
    SetFormat(s->PeekFormat());
    SetHeaderFormat(s->PeekHeaderFormat());
}

void TDBLayout::WriteNode(const TTreeNodeShape *node, QByteArray &data)
{
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    TWriter writer(buffer);
    writer.WriteRootComponent(*const_cast<TTreeNodeShape *>(node));
}

void TDBLayout::ReadNode(std::unique_ptr<TTreeNodeShape> &node, const QByteArray &data)
{
    QByteArray copy = data;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    TReader reader(buffer);
    reader.ReadSignature();
    std::unique_ptr<TComponent> read = reader.ReadRootComponent();
    auto *shape = dynamic_cast<TTreeNodeShape *>(read.get());
    if (!shape)
        throw EReadError(SInvalidImage.Text());
    read.release();
    node.reset(shape);
}

void TDBLayout::DefineProperties(TFiler &filer)
{
    TCollectionItem::DefineProperties(filer);
    filer.DefineBinaryProperty(
        QStringLiteral("IFormat"), [this](const QByteArray &data) { ReadNode(FFormat, data); },
        [this](QByteArray &data) { WriteNode(FFormat.get(), data); }, FFormat != nullptr);
    filer.DefineBinaryProperty(
        QStringLiteral("IHeaderFormat"), [this](const QByteArray &data) { ReadNode(FHeaderFormat, data); },
        [this](QByteArray &data) { WriteNode(FHeaderFormat.get(), data); }, FHeaderFormat != nullptr);
}

void TDBLayout::PrepareFields()
{
    if (!FDataSet)
        return;
    FTextFields.clear();
    FParentFields.clear();
    FCodeFieldIndex = -1;
    if (!FDataSet->Active())
        return;
    const auto lookup = [this](const QString &name) {
        const int index = FDataSet->FieldIndex(name);
        if (index < 0)
            throw EDBTreeException(FormatMessage(SDBFieldNotFound, {name, FDataSet->Name()}));
        return index;
    };
    for (const QString &name : SplitFieldList(FFields))
        FTextFields.push_back(lookup(name));
    if (FTextFields.empty())
        throw EDBTreeException(SDBNoTextFields.Text());
    for (const QString &name : SplitFieldList(FParentField))
        FParentFields.push_back(lookup(name));
    if (!FCodeField.isEmpty() && FParentFields.empty())
        throw EDBTreeException(SDBNoParentField.Text());
    if (!FCodeField.isEmpty())
        FCodeFieldIndex = lookup(FCodeField);
}

int TDBLayout::IntField(int field) const
{
    int value = 0;
    if (!FDataSet->IntValue(field, value))
        throw EDBTreeException(FormatMessage(
            SDBNotANumber, {FDataSet->FieldNames().value(field), FDataSet->Name(), FDataSet->DisplayText(field)}));
    return value;
}

TTreeNodeShape *TDBLayout::FindGroupNode(TTreeNodeShape *under, const QString &text) const
{
    TCustomDBTree *tree = Tree();
    const TNodeShapeList &list = under ? under->Children() : tree->Roots();
    for (int i = list.Count(); i-- > 0;) {
        TTreeNodeShape *node = list[i];
        if (node->Line(0) == text)
            return node;
    }
    return nullptr;
}

TTreeNodeShape *TDBLayout::AddRecordNode(TTreeNodeShape *parent)
{
    TCustomDBTree *tree = Tree();
    TTreeNodeShape *node = nullptr;
    if (FDisplayMode == ldGrid) {
        TTreeDefaultFormat &defaults = tree->DefaultFormat();
        const TClassInfo *before = defaults.ShapeClass();
        defaults.SetShapeClass(&TGridShape::StaticClassInfo());
        TAtExit restore([&] { defaults.SetShapeClass(before); });
        node = tree->AddShape(0, 0, parent);
    } else {
        node = tree->AddShape(0, 0, parent);
    }
    SetNodeData(node);
    return node;
}

void TDBLayout::SetNodeData(TTreeNodeShape *node)
{
    if (FTextFields.empty())
        return;
    if (auto *grid = dynamic_cast<TGridShape *>(node); grid && FDisplayMode == ldGrid) {
        grid->SetAutoSize(true);
        grid->SetColumns(TextFieldCount());
        grid->SetRows(1);
        for (int i = 0; i < TextFieldCount(); ++i) {
            TGridCellShape *cell = grid->Cells(0, i);
            if (FFormat)
                cell->AssignFormat(FFormat.get());
            cell->SetSimpleText(FDataSet->DisplayText(FTextFields[static_cast<size_t>(i)]));
        }
        if (FFormat)
            grid->AssignFormat(FFormat.get());
    } else {
        if (FFormat)
            node->AssignFormat(FFormat.get());
        QStringList lines{FDataSet->DisplayText(FTextFields.front())};
        for (size_t i = 1; i < FTextFields.size(); ++i) {
            const QString value = FDataSet->DisplayText(FTextFields[i]);
            if (FDisplayMode == ldMultiLine)
                lines << value;
            else if (lines.front().isEmpty())
                lines.front() = value;
            else
                lines.front() += QLatin1Char(' ') + value;
        }
        if (lines.size() == 1 && !node->PeekText())
            node->SetSimpleText(lines.front());
        else
            node->Text()->SetLines(lines);
    }
    if (FCodeFieldIndex >= 0) {
        node->SetTag(IntField(FCodeFieldIndex));
        if (TCustomDBTree *tree = Tree())
            tree->NoteNewNode(node);
    }
}

void TDBLayout::Fill(TTreeNodeShape *parent)
{
    if (!FDataSet || !FDataSet->Active())
        return;
    TCustomDBTree *tree = Tree();
    const int bookmark = FDataSet->Bookmark();
    TAtExit restore([&] { FDataSet->GotoBookmark(bookmark); });

    if (FHeaderFormat && !FHeaderFormat->Line(0).isEmpty()) {
        TTreeNodeShape *header = tree->AddShape(0, 0, parent);
        header->AssignFormat(FHeaderFormat.get());
        QStringList lines;
        for (int i = 0; i < FHeaderFormat->LineCount(); ++i)
            lines << FHeaderFormat->Line(i);
        header->Text()->SetLines(lines);
        parent = header;
    }
    if (FFormat) {
        FFormat->SetText(nullptr);
        FFormat->SetSimpleText(QString());
    }

    // The later items whose datasets follow this one fill inside its records.
    std::vector<TDBLayout *> details;
    if (auto *layout = tree->Layout())
        for (int i = Index() + 1; i < layout->Count(); ++i) {
            TDBLayout *item = layout->Items(i);
            const auto &d = FDataSet->Details();
            if (item->TextFieldCount() > 0 && std::find(d.begin(), d.end(), item->FDataSet) != d.end())
                details.push_back(item);
        }

    TTreeNodeShape *p = parent;
    for (FDataSet->First(); !FDataSet->Eof(); FDataSet->Next()) {
        TTreeNodeShape *node = nullptr;
        if (FCodeFieldIndex >= 0) {
            if (p) {
                const int parentCode = IntField(FParentFields.front());
                node = AddRecordNode(tree->NodeWithTag(parentCode));
            } else {
                node = AddRecordNode(nullptr);
                p = node;
            }
        } else if (!FParentFields.empty()) {
            TTreeNodeShape *current = p;
            for (int field : FParentFields) {
                const QString text = FDataSet->DisplayText(field);
                TTreeNodeShape *group = FindGroupNode(current, text);
                if (!group) {
                    group = tree->AddShape(0, 0, current);
                    if (FFormat)
                        group->AssignFormat(FFormat.get());
                    group->SetSimpleText(text);
                }
                current = group;
            }
            node = AddRecordNode(current);
        } else {
            node = AddRecordNode(p);
        }
        for (TDBLayout *item : details)
            item->Fill(node);
        if (Index() == 0 && !tree->RecordDone())
            return;
    }
}

// ---------------------------------------------------------------------------
// TDBTreeLayout

const TClassInfo &TDBTreeLayout::StaticClassInfo()
{
    static const TClassInfo info("TDBTreeLayout", &TCollection::StaticClassInfo());
    return info;
}

TDBTreeLayout::TDBTreeLayout(TCustomDBTree *tree) : TCollection(TCollection::FactoryOf<TDBLayout>()), FTree(tree) {}

// ---------------------------------------------------------------------------
// TCustomDBTree

const TClassInfo &TCustomDBTree::StaticClassInfo()
{
    using T = TCustomDBTree;
    static const TClassInfo info =
        TClassBuilder<T>("TCustomDBTree", TTree::StaticClassInfo())
            .Object<TDBTreeLayout>("Layout", &T::Layout, &T::Layout)
            .Stored([](const TPersistent &o) { return static_cast<const T &>(o).Layout()->Count() > 0; })
            .Reference<TTreeDataSet>("DataSet", &T::DataSet, &T::SetDataSet)
            .NeverStored()
            .String("TextFields", &T::TextFields, &T::SetTextFields)
            .NeverStored()
            .String("CodeField", &T::CodeField, &T::SetCodeField)
            .NeverStored()
            .String("ParentField", &T::ParentField, &T::SetParentField)
            .NeverStored()
            .Boolean("MultiLineText", &T::MultiLineText, &T::SetMultiLineText, false)
            .NeverStored()
            .Reference<TTreeDataSet>("Detail", &T::Detail, &T::SetDetail)
            .NeverStored()
            .String("DetailFields", &T::DetailFields, &T::SetDetailFields)
            .NeverStored();
    return info;
}

const TClassInfo &TDBTree::StaticClassInfo()
{
    static const TClassInfo info("TDBTree", &TCustomDBTree::StaticClassInfo());
    return info;
}

TCustomDBTree::TCustomDBTree(TComponent *owner, QWidget *parent)
    : TTree(owner, parent), FLayout(std::make_unique<TDBTreeLayout>(this))
{
}

TCustomDBTree::~TCustomDBTree()
{
    for (int i = 0; i < FLayout->Count(); ++i)
        if (TTreeDataSet *d = FLayout->Items(i)->DataSet())
            RemoveFreeNotification(d);
}

void TCustomDBTree::SetLayout(const TDBTreeLayout *value)
{
    if (value)
        FLayout->Assign(value);
    else
        FLayout->Clear();
}

TDBLayout *TCustomDBTree::EnsureItem(int index)
{
    while (FLayout->Count() <= index)
        FLayout->Add();
    return FLayout->Items(index);
}

TTreeDataSet *TCustomDBTree::DataSet() const
{
    return FLayout->Count() > 0 ? FLayout->Items(0)->DataSet() : nullptr;
}

void TCustomDBTree::SetDataSet(TTreeDataSet *value)
{
    EnsureItem(0)->SetDataSet(value);
}

QString TCustomDBTree::TextFields() const
{
    return FLayout->Count() > 0 ? FLayout->Items(0)->Fields() : QString();
}

void TCustomDBTree::SetTextFields(const QString &value)
{
    if (value != TextFields())
        EnsureItem(0)->SetFields(value);
}

QString TCustomDBTree::CodeField() const
{
    return FLayout->Count() > 0 ? FLayout->Items(0)->CodeField() : QString();
}

void TCustomDBTree::SetCodeField(const QString &value)
{
    if (value != CodeField())
        EnsureItem(0)->SetCodeField(value);
}

QString TCustomDBTree::ParentField() const
{
    return FLayout->Count() > 0 ? FLayout->Items(0)->ParentField() : QString();
}

void TCustomDBTree::SetParentField(const QString &value)
{
    if (value != ParentField())
        EnsureItem(0)->SetParentField(value);
}

bool TCustomDBTree::MultiLineText() const
{
    return FLayout->Count() > 0 && FLayout->Items(0)->DisplayMode() == ldMultiLine;
}

void TCustomDBTree::SetMultiLineText(bool value)
{
    if (value != MultiLineText())
        EnsureItem(0)->SetDisplayMode(value ? ldMultiLine : ldSingle);
}

TTreeDataSet *TCustomDBTree::Detail() const
{
    return FLayout->Count() > 1 ? FLayout->Items(1)->DataSet() : nullptr;
}

void TCustomDBTree::SetDetail(TTreeDataSet *value)
{
    if (value == Detail())
        return;
    EnsureItem(0);
    EnsureItem(1)->SetDataSet(value);
}

QString TCustomDBTree::DetailFields() const
{
    return FLayout->Count() > 1 ? FLayout->Items(1)->Fields() : QString();
}

void TCustomDBTree::SetDetailFields(const QString &value)
{
    if (value == DetailFields())
        return;
    EnsureItem(0);
    EnsureItem(1)->SetFields(value);
}

void TCustomDBTree::WatchDataSet(TTreeDataSet *dataSet)
{
    if (dataSet)
        FreeNotification(dataSet);
}

void TCustomDBTree::Notification(TComponent *component, TOperation operation)
{
    TTree::Notification(component, operation);
    if (operation != opRemove)
        return;
    for (int i = 0; i < FLayout->Count(); ++i) {
        TDBLayout *item = FLayout->Items(i);
        if (item->DataSet() == component)
            item->SetDataSet(nullptr);
    }
}

TTreeNodeShape *TCustomDBTree::NodeWithTag(int tag) const
{
    if (tag <= 0)
        return nullptr;
    const auto range = FTagIndex.equal_range(tag);
    if (range.first == range.second)
        return nullptr;
    if (std::next(range.first) == range.second)
        return range.first->second;
    // Several nodes carry the code: the first in the order roots first,
    // each subtree depth-first.
    std::vector<TTreeNodeShape *> stack;
    for (int i = Roots().Count(); i-- > 0;)
        stack.push_back(Roots()[i]);
    while (!stack.empty()) {
        TTreeNodeShape *node = stack.back();
        stack.pop_back();
        if (node->Tag() == tag)
            return node;
        const TNodeShapeList &children = node->Children();
        for (int i = children.Count(); i-- > 0;)
            stack.push_back(children[i]);
    }
    return nullptr;
}

void TCustomDBTree::NoteNewNode(TTreeNodeShape *node)
{
    if (FFilling && node->Tag() > 0)
        FTagIndex.emplace(node->Tag(), node);
}

bool TCustomDBTree::RecordDone()
{
    ++FDone;
    if ((FProgress && !FProgress(FDone, FTotal)) || (OnProgress && !OnProgress(FDone, FTotal))) {
        FCancelled = true;
        return false;
    }
    return true;
}

void TCustomDBTree::FillAll()
{
    TDBLayout *master = FLayout->Items(0);
    master->Fill(nullptr);
    for (int i = 1; i < FLayout->Count() && !FCancelled; ++i) {
        TDBLayout *item = FLayout->Items(i);
        if (!item->DataSet())
            continue;
        bool inMaster = false;
        for (int j = 0; j < i && !inMaster; ++j) {
            TDBLayout *earlier = FLayout->Items(j);
            if (earlier->TextFieldCount() == 0 || !earlier->DataSet())
                continue;
            const auto &d = earlier->DataSet()->Details();
            inMaster = std::find(d.begin(), d.end(), item->DataSet()) != d.end();
        }
        if (!inMaster)
            item->Fill(nullptr);
    }
}

void TCustomDBTree::Refresh(const TDBTreeProgress &progress)
{
    FCancelled = false;
    if (FLayout->Count() == 0)
        return;
    for (int i = 0; i < FLayout->Count(); ++i)
        FLayout->Items(i)->PrepareFields();
    if (FLayout->Items(0)->TextFieldCount() == 0)
        return;

    DefaultFormat().Border()->SetVisible(false);
    DefaultFormat().SetTransparent(true);

    // The dataset of the last item with text fields stops telling its
    // controls while the records are walked.
    TTreeDataSet *quietSet = nullptr;
    for (int i = FLayout->Count(); i-- > 0;)
        if (FLayout->Items(i)->TextFieldCount() > 0 && (i > 0 || FLayout->Count() == 1)) {
            quietSet = FLayout->Items(i)->DataSet();
            break;
        }
    if (quietSet)
        quietSet->DisableControls();

    // One step for the document: its listeners hear the whole rebuild as
    // one change of the diagram.
    const TTreeStep step(this, SDBStepRefresh.Text());
    TTreeChange change;
    change.Kind = tckProperty;
    change.Element = this;
    NotifyChanging(change);
    // The nodes come without notices of their own: whoever shows the
    // hierarchy (the node outline) lets go of the old nodes now and reads
    // the new ones once they are all there and named.
    BeginReplace();

    const bool noOwner = NoOwnerShapes();
    SetNoOwnerShapes(true);
    FTagIndex.clear();
    FDone = 0;
    FTotal = FLayout->Items(0)->DataSet() ? FLayout->Items(0)->DataSet()->RecordCount() : 0;
    const bool autoRepaint = AutoRepaint();
    SetAutoRepaint(false);
    FProgress = progress;
    TAtExit restore([&] {
        FProgress = nullptr;
        FFilling = false;
        FTagIndex.clear();
        SetNoOwnerShapes(noOwner);
        // What was built is kept by the owner, named, so that files hold it.
        if (!noOwner && Owner())
            AdoptElements();
        EndReplace();
        if (quietSet)
            quietSet->EnableControls();
        SetAutoRepaint(autoRepaint);
        Invalidate();
        NotifyChanged(change);
    });
    {
        TTreeQuietChanges quiet(this);
        Clear();
        FFilling = true;
        FillAll();
    }
    if (TTreeDocument::IsDesigning() && Roots().Count() > 0 && Roots()[0]->Children().Count() > 0)
        Roots()[0]->SetExpanded(true);
}

void RegisterDBTreeClasses()
{
    static const bool done = [] {
        RegisterViewClasses();
        RegisterShapeGalleries();
        RegisterClass<TDBTree>();
        return true;
    }();
    (void)done;
}

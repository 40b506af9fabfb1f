// The undo list: recording steps from the change notices, taking them back
// and making them again, and the Edit menu's items.

#include "editor/TreeUndo.h"

#include "editor/DendrixConstants.h"
#include "editor/TreeUndoSteps.h"
#include "view/CustomTree.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <algorithm>
#include <exception>

namespace {

const QString &KindDescription(TTreeChangeKind kind)
{
    switch (kind) {
    case tckAdded: return SUndoAdd;
    case tckRemoving: return SUndoDelete;
    case tckMoved: return SUndoMove;
    case tckResized: return SUndoResize;
    case tckText: return SUndoText;
    case tckParent: return SUndoParent;
    case tckOrder: return SUndoOrder;
    case tckExpanded: return SUndoExpand;
    case tckPoints: return SUndoPoints;
    case tckProperty:
    case tckSelection: break;
    }
    return SUndoChange;
}

bool IsStateChange(TTreeChangeKind kind)
{
    return kind == tckResized || kind == tckProperty || kind == tckText || kind == tckExpanded || kind == tckPoints;
}

// A menu caption showing a description as it stands (no mnemonic in it).
QString Caption(const QString &verb, const QString &description)
{
    if (description.isEmpty())
        return verb;
    QString text = description;
    text.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return verb + QLatin1Char(' ') + text;
}

} // namespace

// ---------------------------------------------------------------------------
// TTreeUndoItem

TTreeUndoItem::TTreeUndoItem(TTreeUndo *undo, const QString &description) : FUndo(undo)
{
    setText(description);
}

TTreeUndoItem::~TTreeUndoItem() = default;

size_t TTreeUndoItem::MemoryUsage() const
{
    size_t bytes = sizeof(*this) + FEntries.capacity() * sizeof(FEntries[0]);
    for (const auto &e : FEntries)
        bytes += e->MemoryUsage();
    return bytes;
}

void TTreeUndoItem::undo()
{
    FUndo->Apply(this, false);
}

void TTreeUndoItem::redo()
{
    if (!FPushed) {
        FPushed = true;
        return;
    }
    FUndo->Apply(this, true);
}

// ---------------------------------------------------------------------------
// TTreeUndo

TTreeUndo::TTreeUndo(TTreeDocument *tree, QObject *parent) : QObject(parent)
{
    FStack.setUndoLimit(kDefaultLimit);
    connect(&FStack, &QUndoStack::indexChanged, this, [this] {
        UpdateActions();
        emit StepsChanged();
    });
    connect(&FStack, &QUndoStack::cleanChanged, this, &TTreeUndo::CleanChanged);
    SetTree(tree);
}

TTreeUndo::~TTreeUndo()
{
    if (TreeAlive())
        FTree->RemoveChangeListener(this);
    // The steps refer to this list while they go.
    FCurrent.reset();
    FStack.clear();
}

bool TTreeUndo::TreeAlive() const
{
    return FTree && (!FTreeIsObject || FTreeObject);
}

TTreeDocument *TTreeUndo::Tree() const
{
    return TreeAlive() ? FTree : nullptr;
}

void TTreeUndo::SetTree(TTreeDocument *tree)
{
    if (TreeAlive() && FTree != tree)
        FTree->RemoveChangeListener(this);
    FTree = tree;
    auto *object = dynamic_cast<QObject *>(tree);
    FTreeIsObject = object != nullptr;
    FTreeObject = object;
    if (tree)
        tree->AddChangeListener(this);
    Clear();
}

void TTreeUndo::DocumentReplaced(TTree *tree)
{
    SetTree(tree);
}

bool TTreeUndo::Hears(const TTreeDocument *tree) const
{
    return tree && tree == FTree && !FApplying;
}

void TTreeUndo::Forget()
{
    FOpenState = nullptr;
    FOpenStateElement = nullptr;
    FOpenMoves = nullptr;
    FMoveIndex[0].clear();
    FMoveIndex[1].clear();
    FOpenRemoval = nullptr;
    FRemovalShapes = FRemovalConnections = -1;
    FOpenPlace = nullptr;
    FOpenPlaceElement = nullptr;
}

void TTreeUndo::Clear()
{
    Forget();
    FMovingNode = nullptr;
    FCurrent.reset();
    FInStep = false;
    FRecorded = false;
    FStack.clear();
    if (FPendingLimit >= 0) {
        FStack.setUndoLimit(FPendingLimit);
        FPendingLimit = -1;
    }
    FStack.setClean();
    UpdateActions();
    emit StepsChanged();
}

int TTreeUndo::Limit() const
{
    return FPendingLimit >= 0 ? FPendingLimit : FStack.undoLimit();
}

void TTreeUndo::SetLimit(int limit)
{
    limit = std::max(limit, 0);
    if (FStack.count() == 0) {
        FStack.setUndoLimit(limit);
        FPendingLimit = -1;
    } else {
        FPendingLimit = limit;
    }
}

void TTreeUndo::SetClean()
{
    FStack.setClean();
}

bool TTreeUndo::IsClean() const
{
    return FStack.isClean();
}

// ---- Recording

TTreeUndoItem &TTreeUndo::Current(TTreeChangeKind kind)
{
    if (!FCurrent)
        FCurrent = std::make_unique<TTreeUndoItem>(this, QString());
    if (FCurrent->text().isEmpty() && FCurrent->FEntries.empty())
        FCurrent->setText(KindDescription(kind));
    return *FCurrent;
}

// Ends the entry that was still growing.
void TTreeUndo::Close()
{
    if (FOpenState && !FOpenState->HasAfter && TreeAlive()) {
        // A change whose after-notice never came (or a recorded state
        // nothing followed): its state is what the element holds now.
        if (TComponent *element = FOpenState->Element.Resolve(*FTree)) {
            FOpenState->After = TElementState::Capture(*FTree, *element);
            FOpenState->ElementAfter = TElementRef::Of(*FTree, element);
            FOpenState->HasAfter = true;
        }
    }
    if (FOpenMoves)
        FOpenMoves->Moves.shrink_to_fit();
    if (FOpenRemoval && TreeAlive())
        FOpenRemoval->Set.Seal(*FTree);
    if (FOpenPlace && TreeAlive())
        FOpenPlace->Freed.Seal(*FTree);
    Forget();
}

void TTreeUndo::Commit()
{
    Close();
    std::unique_ptr<TTreeUndoItem> item = std::move(FCurrent);
    const bool recorded = FRecorded;
    FRecorded = false;
    if (!item)
        return;
    // Entries that changed nothing (a dialog's OK without a change) are
    // dropped; a step of nothing but those is no step, unless asked for.
    auto &entries = item->FEntries;
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [](const std::unique_ptr<TUndoEntry> &e) {
                                     auto *s = dynamic_cast<TStateEntry *>(e.get());
                                     return s && s->HasAfter && s->Before.Record == s->After.Record &&
                                            s->Before.Settings == s->After.Settings &&
                                            s->Before.RootCross == s->After.RootCross &&
                                            s->Before.SubtreeVisible == s->After.SubtreeVisible;
                                 }),
                  entries.end());
    if (entries.empty() && !recorded)
        return;
    entries.shrink_to_fit();
    FStack.push(item.release());
}

// A notice outside any step is a step of its own.
void TTreeUndo::CommitIfLone()
{
    if (!FInStep && !FRecorded)
        Commit();
}

TStateEntry *TTreeUndo::OpenState(TComponent *element)
{
    auto entry = std::make_unique<TStateEntry>();
    entry->Element = TElementRef::Of(*FTree, element);
    entry->ElementAfter = entry->Element;
    entry->Before = TElementState::Capture(*FTree, *element);
    TStateEntry *raw = entry.get();
    FCurrent->FEntries.push_back(std::move(entry));
    FOpenState = raw;
    FOpenStateElement = element;
    return raw;
}

void TTreeUndo::Record(TComponent *element, const QString &description)
{
    if (!element || !TreeAlive() || FApplying)
        return;
    if (!FInStep) {
        Commit();
        FRecorded = true;
    }
    TTreeUndoItem &item = Current(tckProperty);
    if (!FInStep || item.FEntries.empty())
        item.setText(description);
    Close();
    OpenState(element);
}

void TTreeUndo::TreeStepBegin(TTreeDocument *tree, const QString &description)
{
    if (!Hears(tree))
        return;
    Commit();
    FInStep = true;
    FCurrent = std::make_unique<TTreeUndoItem>(this, description);
}

void TTreeUndo::TreeStepEnd(TTreeDocument *tree)
{
    if (!Hears(tree) || !FInStep)
        return;
    FInStep = false;
    Commit();
}

// An edit of a part of an attachment (an animation of the player) is a
// change of the whole attachment.
static TTreeChange AsRecorded(const TTreeDocument &tree, const TTreeChange &notice)
{
    TTreeChange change = notice;
    if (notice.Element == &tree || dynamic_cast<const TCustomTreeElement *>(notice.Element))
        return change;
    if (TTreeAttachment *attachment = tree.AttachmentOf(notice.Element)) {
        change.Element = attachment->AttachedComponent();
        if (change.Element != notice.Element || change.Kind == tckAdded || change.Kind == tckRemoving) {
            change.Kind = tckProperty;
            change.Property.clear();
        }
    }
    return change;
}

// A parent set as a property (the inspector) is a change of place.
static TTreeChangeKind KindOf(const TTreeChange &change)
{
    if (change.Kind == tckProperty && change.Property == QLatin1String("Parent") &&
        dynamic_cast<TTreeNodeShape *>(change.Element))
        return tckParent;
    return change.Kind;
}

void TTreeUndo::TreeChanging(TTreeDocument *tree, const TTreeChange &notice)
{
    if (!Hears(tree) || !notice.IsEdit() || !notice.Element)
        return;
    TTreeChange change = AsRecorded(*tree, notice);
    change.Kind = KindOf(change);
    if (FRecorded && !FInStep && FOpenStateElement != change.Element)
        Commit(); // what was recorded is followed by something else
    TComponent *element = change.Element;
    switch (change.Kind) {
    case tckRemoving: {
        TTreeUndoItem &item = Current(change.Kind);
        // Notices of one deletion all come before any element goes: they
        // share one set, whose places all refer to the same state.
        const bool same = FOpenRemoval && tree->Shapes().Count() == FRemovalShapes &&
                          tree->Connections().Count() == FRemovalConnections;
        if (!same) {
            Close();
            auto entry = std::make_unique<TSetEntry>();
            FOpenRemoval = entry.get();
            item.FEntries.push_back(std::move(entry));
        }
        if (auto *node = dynamic_cast<TTreeNodeShape *>(element))
            FOpenRemoval->Set.AddSubtree(*tree, node);
        else if (auto *c = dynamic_cast<TTreeConnection *>(element))
            FOpenRemoval->Set.AddConnection(*tree, c);
        FRemovalShapes = tree->Shapes().Count();
        FRemovalConnections = tree->Connections().Count();
        if (!FInStep)
            Commit();
        break;
    }
    case tckMoved:
        FMovingNode = element;
        FMovingBits = TMoveBlock::AutoBits(dynamic_cast<TTreeNodeShape *>(element));
        break;
    case tckParent:
    case tckOrder: {
        auto *node = dynamic_cast<TTreeNodeShape *>(element);
        if (!node)
            break;
        TTreeUndoItem &item = Current(change.Kind);
        Close();
        auto entry = std::make_unique<TPlaceEntry>();
        entry->Node = TElementRef::Of(*tree, node);
        entry->Before = TPlaceEntry::Of(*tree, node);
        entry->After = entry->Before;
        // Re-parenting frees the connections from the old parent.
        if (change.Kind == tckParent && node->Parent())
            for (TTreeConnection *c : node->IncomingConnections())
                if (c->FromShape() == node->Parent())
                    entry->Freed.AddConnection(*tree, c);
        FOpenPlace = entry.get();
        FOpenPlaceElement = node;
        item.FEntries.push_back(std::move(entry));
        break;
    }
    default:
        if (!IsStateChange(change.Kind))
            break;
        Current(change.Kind);
        if (FOpenState && FOpenStateElement == element)
            break; // the same element again: one change from first to last
        Close();
        OpenState(element);
        break;
    }
}

void TTreeUndo::TreeChanged(TTreeDocument *tree, const TTreeChange &notice)
{
    if (!Hears(tree) || !notice.IsEdit() || !notice.Element)
        return;
    TTreeChange change = AsRecorded(*tree, notice);
    change.Kind = KindOf(change);
    TComponent *element = change.Element;
    switch (change.Kind) {
    case tckAdded: {
        TTreeUndoItem &item = Current(change.Kind);
        Close();
        auto entry = std::make_unique<TSetEntry>();
        entry->Added = true;
        if (auto *node = dynamic_cast<TTreeNodeShape *>(element))
            entry->Set.AddSubtree(*tree, node);
        else if (auto *c = dynamic_cast<TTreeConnection *>(element))
            entry->Set.AddConnection(*tree, c);
        entry->Set.Seal(*tree);
        item.FEntries.push_back(std::move(entry));
        CommitIfLone();
        break;
    }
    case tckMoved: {
        auto *node = dynamic_cast<TTreeNodeShape *>(element);
        if (!node || (change.DX == 0 && change.DY == 0)) {
            if (!FInStep && !FRecorded && FCurrent && FCurrent->FEntries.empty())
                FCurrent.reset();
            break;
        }
        TTreeUndoItem &item = Current(change.Kind);
        if (!FOpenMoves) {
            Close();
            auto block = std::make_unique<TMoveBlock>();
            FOpenMoves = block.get();
            item.FEntries.push_back(std::move(block));
        }
        // A drag moves the same nodes many times: one move each, summed.
        auto &index = FMoveIndex[change.WithChildren ? 1 : 0];
        const uint8_t after = TMoveBlock::AutoBits(node);
        if (auto it = index.find(node); it != index.end()) {
            TMoveBlock::TMove &m = FOpenMoves->Moves[static_cast<size_t>(it->second)];
            m.DX += change.DX;
            m.DY += change.DY;
            m.AutoAfter = after;
        } else {
            TMoveBlock::TMove m;
            m.Node = TElementRef::Of(*tree, node);
            m.DX = change.DX;
            m.DY = change.DY;
            m.WithChildren = change.WithChildren;
            m.AutoBefore = FMovingNode == node ? FMovingBits : after;
            m.AutoAfter = after;
            index.emplace(node, static_cast<int>(FOpenMoves->Moves.size()));
            FOpenMoves->Moves.push_back(m);
        }
        FMovingNode = nullptr;
        CommitIfLone();
        break;
    }
    case tckParent:
    case tckOrder:
        if (FOpenPlace && FOpenPlaceElement == element) {
            FOpenPlace->After = TPlaceEntry::Of(*tree, static_cast<TTreeNodeShape *>(element));
            Close();
        }
        CommitIfLone();
        break;
    default:
        if (!IsStateChange(change.Kind))
            break;
        if (FOpenState && FOpenStateElement == element) {
            FOpenState->After = TElementState::Capture(*tree, *element);
            FOpenState->ElementAfter = TElementRef::Of(*tree, element);
            FOpenState->HasAfter = true;
        }
        if (FRecorded && !FInStep) {
            FRecorded = false;
            Commit();
        } else {
            CommitIfLone();
        }
        break;
    }
}

void TTreeUndo::TreeReplacing(TTreeDocument *tree)
{
    if (tree && tree == FTree && !FApplying)
        Clear();
}

void TTreeUndo::TreeDestroying(TTreeDocument *tree)
{
    if (tree && tree == FTree) {
        FTree = nullptr;
        FTreeIsObject = false;
        FTreeObject = nullptr;
        Clear();
    }
}

// ---- Taking back and making again

void TTreeUndo::Apply(TTreeUndoItem *item, bool redo)
{
    if (!TreeAlive())
        return;
    FApplying = true;
    {
        TTreeStep step(FTree, item->text());
        auto run = [&](TUndoEntry &e) {
            // A step that cannot be applied any more is passed by.
            try {
                if (redo)
                    e.Redo(*FTree);
                else
                    e.Undo(*FTree);
            } catch (const std::exception &) {
            }
        };
        if (redo)
            for (auto &e : item->FEntries)
                run(*e);
        else
            for (auto it = item->FEntries.rbegin(); it != item->FEntries.rend(); ++it)
                run(**it);
    }
    FApplying = false;
}

TTreeUndoItem *TTreeUndo::Last()
{
    if (!FInStep)
        Commit();
    const int index = FStack.index();
    return index > 0 ? static_cast<TTreeUndoItem *>(const_cast<QUndoCommand *>(FStack.command(index - 1))) : nullptr;
}

bool TTreeUndo::CanUndo()
{
    return Last() != nullptr;
}

bool TTreeUndo::CanRedo() const
{
    return FStack.canRedo();
}

int TTreeUndo::Count()
{
    if (!FInStep)
        Commit();
    return FStack.index();
}

int TTreeUndo::RedoCount() const
{
    return FStack.count() - FStack.index();
}

QString TTreeUndo::RedoDescription() const
{
    return FStack.redoText();
}

void TTreeUndo::Undo()
{
    if (FApplying || FInStep || !CanUndo())
        return;
    FStack.undo();
    if (FHost)
        FHost->SetModified(!FStack.isClean());
}

void TTreeUndo::Redo()
{
    if (FApplying || FInStep)
        return;
    Commit();
    if (!FStack.canRedo())
        return;
    FStack.redo();
    if (FHost)
        FHost->SetModified(!FStack.isClean());
}

size_t TTreeUndo::MemoryUsage() const
{
    size_t bytes = 0;
    for (int i = 0; i < FStack.count(); ++i)
        bytes += static_cast<const TTreeUndoItem *>(FStack.command(i))->MemoryUsage();
    return bytes;
}

// ---- The Edit menu's items

QAction *TTreeUndo::CreateUndoAction(QObject *parent)
{
    auto *action = new QAction(parent);
    action->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)});
    connect(action, &QAction::triggered, this, [this] { Undo(); });
    FUndoActions.emplace_back(action);
    UpdateActions();
    return action;
}

QAction *TTreeUndo::CreateRedoAction(QObject *parent)
{
    auto *action = new QAction(parent);
    action->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    connect(action, &QAction::triggered, this, [this] { Redo(); });
    FRedoActions.emplace_back(action);
    UpdateActions();
    return action;
}

void TTreeUndo::UpdateActions()
{
    const int index = FStack.index();
    const QUndoCommand *last = index > 0 ? FStack.command(index - 1) : nullptr;
    for (const QPointer<QAction> &a : FUndoActions)
        if (a) {
            a->setEnabled(last != nullptr);
            a->setText(Caption(SUndoCaption, last ? last->text() : QString()));
        }
    for (const QPointer<QAction> &a : FRedoActions)
        if (a) {
            a->setEnabled(FStack.canRedo());
            a->setText(Caption(SRedoCaption, FStack.canRedo() ? FStack.redoText() : QString()));
        }
}

void TTreeUndo::InstallInto(QMenu *menu)
{
    if (!menu)
        return;
    QAction *undo = !FUndoActions.empty() && FUndoActions.front() ? FUndoActions.front().data() : CreateUndoAction(menu);
    QAction *redo = !FRedoActions.empty() && FRedoActions.front() ? FRedoActions.front().data() : CreateRedoAction(menu);
    QAction *first = menu->actions().isEmpty() ? nullptr : menu->actions().constFirst();
    menu->insertAction(first, undo);
    menu->insertAction(first, redo);
    menu->insertSeparator(first);
    connect(menu, &QMenu::aboutToShow, this, &TTreeUndo::UpdateActions);
}

#pragma once
// Named components and ownership.
//
// A component has a Name, an Owner and a Tag. The owner owns its components:
// destroying the owner destroys them, last first. Destroying a component
// (delete) takes it out of its owner. Names are unique among the components
// of one owner, compared without regard to case; an empty name is allowed any
// number of times. Name lookup and the first-free-number search use indexes,
// so owners of hundreds of thousands of components stay fast.

#include "core/Object.h"

#include <QHash>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

enum TComponentStateFlag : uint16_t {
    csLoading = 1 << 0,    // being read from a stream
    csReading = 1 << 1,
    csWriting = 1 << 2,
    csDestroying = 1 << 3,
    csDesigning = 1 << 4,  // in the development environment's design state
};
using TComponentState = uint16_t;

enum TOperation { opInsert, opRemove };

class TComponent : public TPersistent
{
    DX_OBJECT(TComponent)
public:
    // The component joins the owner's list (when an owner is given) with an
    // empty name.
    explicit TComponent(TComponent *owner = nullptr);
    ~TComponent() override;
    TComponent(const TComponent &) = delete;
    TComponent &operator=(const TComponent &) = delete;

    const QString &Name() const { return FName; }
    // Throws EComponentError "A component named %s already exists" when
    // another component of the owner has the name (and "... is not a valid
    // component name" for a name that is not an identifier); the component
    // and its owner are then unchanged.
    virtual void SetName(const QString &name);

    int Tag() const { return FTag; }
    void SetTag(int tag) { FTag = tag; }

    TComponent *Owner() const { return FOwner; }
    TComponentState ComponentState() const { return FState; }
    bool IsLoading() const { return FState & csLoading; }
    bool IsDestroying() const { return FState & csDestroying; }
    bool IsDesigning() const { return FState & csDesigning; }
    void SetDesigning(bool value, bool includeOwned = false);

    // Owned components, in the order they joined.
    int ComponentCount() const;
    TComponent *Components(int index) const;
    TComponent *FindComponent(const QString &name) const;
    // A hint that FindComponent(name) follows soon (many references being
    // resolved one after another): nothing visible changes.
    void PrefetchComponent(QStringView name) const;

    // Moves a component without owner into this one (its name must be free);
    // RemoveComponent hands an owned component back to the caller.
    void InsertComponent(TComponent *component);
    std::unique_ptr<TComponent> RemoveComponent(TComponent *component);

    // Freeing many owned components at once: between these calls a
    // component leaving this owner skips the name index, which
    // EndBulkRelease rebuilds once. Nothing may look up or give names among
    // this owner's components in between. Calls nest.
    void BeginBulkRelease();
    void EndBulkRelease();

    // Room for `count` more owned components, so that adding very many (a
    // file being read) does not grow the name index step by step.
    void ReserveComponents(int count);

    // base + the first number 1, 2, 3, ... that no owned component uses.
    QString FirstFreeName(const QString &base) const;
    // The base of automatic names: the class name without its leading "T",
    // every character that is not a letter A-Z replaced by "_".
    static QString NameBase(const QString &className);
    // The automatic name for a component of this class in this owner's list.
    QString UniqueName(const QString &className) const;

    // Reading from a stream: set while the component's properties are read;
    // Loaded runs after the whole stream has been read and clears it.
    void BeginLoading() { FState |= csLoading | csReading; }
    virtual void Loaded();

    // Streaming hooks. GetChildren hands the writer the components written
    // as child objects of this one, in order (none by default; a diagram
    // hands its nodes, then its connections). AttachToParent is called by
    // the reader once this component's record has been read as a child of
    // `parent` (properties and own children applied; references are
    // resolved later); a diagram element joins its diagram there. Nothing by
    // default.
    virtual void GetChildren(const std::function<void(TComponent *)> &proc) const;
    virtual void AttachToParent(TComponent *parent);

    static bool IsValidIdent(const QString &name);

    // Links this component and `component` so that whichever of the two is
    // destroyed first tells the other through Notification(.., opRemove).
    // For references to components of another owner (a diagram's image
    // list), which would otherwise dangle. Linking twice links once.
    void FreeNotification(TComponent *component);
    // Undoes FreeNotification (the reference has been dropped).
    void RemoveFreeNotification(TComponent *component);

protected:
    // `component` is going away (opRemove) while this one refers to it;
    // drop every reference to it here. Nothing by default.
    virtual void Notification(TComponent *component, TOperation operation);

private:
    struct OwnedList;
    OwnedList &Owned() const;
    void ReleaseFromOwner();

    QString FName;
    TComponent *FOwner = nullptr;
    int FTag = 0;
    int FOwnerSlot = -1; // position in the owner's slot list
    TComponentState FState = 0;
    mutable std::unique_ptr<OwnedList> FOwned;
    // The components linked by FreeNotification; none for most components.
    std::unique_ptr<std::vector<TComponent *>> FFreeNotifies;
};

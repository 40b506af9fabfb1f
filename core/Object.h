#pragma once
// The root of every class with run-time class information, and the base of
// objects with published properties that can be assigned and streamed.

#include "core/ClassInfo.h"

class TObject
{
public:
    virtual ~TObject() = default;
    static const TClassInfo &StaticClassInfo();
    virtual const TClassInfo &ClassInfo() const { return StaticClassInfo(); }

    QString ClassName() const { return ClassInfo().Name(); }
    bool InheritsFrom(const TClassInfo &info) const { return ClassInfo().InheritsFrom(info); }
    template <class T>
    bool Is() const
    {
        return InheritsFrom(T::StaticClassInfo());
    }
};

class TFiler; // the stream writer and reader; see core/Filer.h

class TPersistent : public TObject
{
    DX_OBJECT(TPersistent)
public:
    // Copies the state of another object. The default asks the source to
    // assign itself; when neither side knows the other it throws
    // EConvertError "Cannot assign a <source> to a <dest>".
    virtual void Assign(const TPersistent *source);

    // Extra stream properties beyond the published ones (lists of lines,
    // picture data, connection points). Empty by default.
    virtual void DefineProperties(TFiler &filer);

    // An untouched object of the same class, for classes whose constructor
    // gives properties (or properties of their sub-objects) values other
    // than the published defaults. The writer then also stores a value put
    // back to its published default, which the constructor would otherwise
    // bring back on reading. Null by default.
    virtual const TPersistent *ConstructedLike() const { return nullptr; }

protected:
    virtual void AssignTo(TPersistent *dest) const;
};

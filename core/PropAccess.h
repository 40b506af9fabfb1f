#pragma once
// Reading and writing published properties by name. A path addresses a
// property of an owned sub-object with dots ("Border.Color", "Font.Shadow.
// HorizSize"); reading or writing through a path creates the sub-objects on
// the way, as any first use does. Values as text use the names the file
// format uses: "True", "tssDiamond", "clRed", "crHandPoint", "[fsBold,
// fsItalic]", numbers for the rest.
//
// An unknown name throws EPropertyError "Property does not exist"; a value
// that does not fit the property throws EPropertyError "Invalid property
// value".

#include "core/Object.h"

class TComponent;

struct TPropTarget
{
    TPersistent *Object = nullptr;
    const TPropInfo *Prop = nullptr;
};

// The object holding the last segment of a path and that property; creates
// sub-objects on the way.
TPropTarget ResolvePropPath(TPersistent &root, const QString &path);
// As ResolvePropPath, but never creates: Object is null when a sub-object on
// the way does not exist yet.
TPropTarget PeekPropPath(const TPersistent &root, const QString &path);

int64_t GetOrdProp(TPersistent &obj, const QString &path);
void SetOrdProp(TPersistent &obj, const QString &path, int64_t value);
QString GetStrProp(TPersistent &obj, const QString &path);
void SetStrProp(TPersistent &obj, const QString &path, const QString &value);
double GetFloatProp(TPersistent &obj, const QString &path);
void SetFloatProp(TPersistent &obj, const QString &path, double value);
TComponent *GetRefProp(TPersistent &obj, const QString &path);
void SetRefProp(TPersistent &obj, const QString &path, TComponent *value);
TPersistent *GetObjectProp(TPersistent &obj, const QString &path);

// A value as the text the inspector shows (see above); sub-objects give "(" +
// class name + ")" and events an empty text.
QString GetPropText(TPersistent &obj, const QString &path);
// Sets a value from its text. A reference is looked up by name through the
// resolver (null, or a resolver answering null, refuses every name but "").
void SetPropText(TPersistent &obj, const QString &path, const QString &text,
                 const std::function<TComponent *(const QString &)> &resolveReference = {});

// Value <-> text for one property's type, without an object.
QString OrdToText(const TPropInfo &prop, int64_t value);
bool TextToOrd(const TPropInfo &prop, const QString &text, int64_t &value);

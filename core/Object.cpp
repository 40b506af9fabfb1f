#include "core/Object.h"

#include "core/CoreConst.h"
#include "core/Exceptions.h"

const TClassInfo &TObject::StaticClassInfo()
{
    static const TClassInfo info("TObject", nullptr);
    return info;
}

const TClassInfo &TPersistent::StaticClassInfo()
{
    static const TClassInfo info("TPersistent", &TObject::StaticClassInfo());
    return info;
}

void TPersistent::Assign(const TPersistent *source)
{
    if (source)
        source->AssignTo(this);
    else
        throw EConvertError(FormatMessage(SAssignError, {QStringLiteral("nil"), ClassName()}));
}

void TPersistent::DefineProperties(TFiler &)
{
}

void TPersistent::AssignTo(TPersistent *dest) const
{
    throw EConvertError(FormatMessage(SAssignError, {ClassName(), dest ? dest->ClassName() : QStringLiteral("nil")}));
}

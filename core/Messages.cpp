#include "core/Messages.h"

#include <algorithm>

namespace {
std::vector<TMessageText *> &Registry()
{
    static std::vector<TMessageText *> all;
    return all;
}
} // namespace

TMessageText::TMessageText(const char *id, const char *english)
    : FId(id), FEnglish(english), FText(QString::fromUtf8(english))
{
    Registry().push_back(this);
}

TMessageText::~TMessageText()
{
    auto &all = Registry();
    all.erase(std::remove(all.begin(), all.end(), this), all.end());
}

const std::vector<TMessageText *> &TMessageText::All()
{
    return Registry();
}

TMessageText *TMessageText::Find(const QString &id)
{
    for (TMessageText *m : Registry())
        if (id == QLatin1String(m->FId))
            return m;
    return nullptr;
}

bool TMessageText::SetById(const QString &id, const QString &text)
{
    TMessageText *m = Find(id);
    if (!m)
        return false;
    m->Set(text);
    return true;
}

void TMessageText::ResetAllToEnglish()
{
    for (TMessageText *m : Registry())
        m->ResetToEnglish();
}

QString FormatMessage(const QString &format, const QStringList &args)
{
    QString out;
    out.reserve(format.size() + 16);
    int next = 0;
    for (int i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c != QLatin1Char('%') || i + 1 >= format.size()) {
            out += c;
            continue;
        }
        if (format.at(i + 1) == QLatin1Char('%')) {
            out += QLatin1Char('%');
            ++i;
            continue;
        }
        // %[-][width][.prec]type: skip the flags, take the next argument.
        int j = i + 1;
        while (j < format.size() && (format.at(j) == QLatin1Char('-') || format.at(j).isDigit() || format.at(j) == QLatin1Char('.')))
            ++j;
        if (j < format.size() && format.at(j).isLetter()) {
            if (next < args.size())
                out += args.at(next);
            ++next;
            i = j;
        } else {
            out += c;
        }
    }
    return out;
}

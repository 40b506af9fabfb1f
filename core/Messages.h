#pragma once
// Named message texts. Every text the user can see that the code produces
// lives in a TMessageText with its English default; a language setter
// replaces the texts it knows by name and English puts the defaults back.
//
//   // header:  extern TMessageText SDuplicateName;
//   // source:  TMessageText SDuplicateName("SDuplicateName", "A component named %s already exists");
//   throw EComponentError(FormatMessage(SDuplicateName, {name}));

#include <QString>
#include <QStringList>
#include <vector>

class TMessageText
{
public:
    TMessageText(const char *id, const char *english);
    ~TMessageText();
    TMessageText(const TMessageText &) = delete;
    TMessageText &operator=(const TMessageText &) = delete;

    const QString &Text() const { return FText; }
    operator const QString &() const { return FText; }
    const char *Id() const { return FId; }
    QString English() const { return QString::fromUtf8(FEnglish); }

    void Set(const QString &text) { FText = text; }
    void ResetToEnglish() { FText = QString::fromUtf8(FEnglish); }

    // Every message text linked into the program, in no particular order.
    static const std::vector<TMessageText *> &All();
    static TMessageText *Find(const QString &id);
    // Assigns a text by id; false when no message has that id.
    static bool SetById(const QString &id, const QString &text);
    static void ResetAllToEnglish();

private:
    const char *FId;
    const char *FEnglish;
    QString FText;
};

// Fills %s, %d (and the like) placeholders of a message in order with the
// given arguments; "%%" gives a single "%". Missing arguments leave the
// placeholder empty, extra arguments are ignored.
QString FormatMessage(const QString &format, const QStringList &args);

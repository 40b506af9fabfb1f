#include "model/TreeReader.h"

#include "core/CoreConst.h"
#include "model/TreeDocument.h"

namespace {

TContinueQuestion &Answerer()
{
    static TContinueQuestion question;
    return question;
}

} // namespace

TContinueQuestion SetContinueQuestion(TContinueQuestion question)
{
    TContinueQuestion previous = std::move(Answerer());
    Answerer() = std::move(question);
    return previous;
}

const TContinueQuestion &ContinueQuestion()
{
    return Answerer();
}

TTreeReader::TTreeReader(QIODevice &stream, int bufferSize) : TReader(stream, bufferSize) {}

bool TTreeReader::Error(const QString &message)
{
    if (TReader::Error(message))
        return true;
    // A copy: the answerer may install another one while it asks.
    const TContinueQuestion ask = ContinueQuestion();
    return ask && ask(message + QLatin1Char('\n') + SContinue.Text());
}

TComponent *TTreeReader::ResolveReference(const QString &ident)
{
    TComponent *c = TReader::ResolveReference(ident);
    if (!FDiagram)
        return c;
    auto *element = dynamic_cast<TCustomTreeElement *>(c);
    if (element && element->Tree() == FDiagram)
        return c;
    // "Owner.Element" where the owner's name found another component (a
    // window of that name, another diagram's element): the element is
    // looked for among the loading diagram's owner's components.
    const qsizetype dot = ident.indexOf(QLatin1Char('.'));
    if (dot > 0 && ident.indexOf(QLatin1Char('.'), dot + 1) < 0) {
        TComponent *owner = FDiagram->Owner() ? FDiagram->Owner() : FDiagram;
        auto *own = dynamic_cast<TCustomTreeElement *>(owner->FindComponent(ident.mid(dot + 1)));
        if (own && own->Tree() == FDiagram)
            return own;
    }
    // No element of another diagram; other components as they were found.
    return element ? nullptr : c;
}

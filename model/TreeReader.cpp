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
    if (FDiagram)
        if (auto *element = dynamic_cast<TCustomTreeElement *>(c))
            if (element->Tree() != FDiagram)
                return nullptr; // an element of another diagram of the same owner
    return c;
}

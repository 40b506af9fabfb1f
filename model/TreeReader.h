#pragma once
// The reader of diagram files. It differs from a plain reader in two ways:
// a recoverable problem (an unknown property, a value that does not fit) is
// put to the user as a question, the problem, a line break and "Continue?",
// whose Yes skips the property and whose No stops the load; and references
// admit only elements of the diagram being loaded.
//
// The question goes to an answerer the program installs: the editor shows a
// Yes/No message box (with the mouse cursor back to normal); tests and
// batch tools answer with a function. Without an answerer every question is
// answered No, so a batch load stops at the first problem.
//
//   TScopedContinueQuestion yes([](const QString &) { return true; });
//   LoadDiagramFile(*tree, name);

#include "core/Reader.h"

#include <QString>
#include <functional>

class TTreeDocument;

// Answers a read problem's question (the problem, "\n", "Continue?"): true
// goes on.
using TContinueQuestion = std::function<bool(const QString &question)>;

// The program-wide answerer; an empty function removes it. Answers the one
// installed before.
TContinueQuestion SetContinueQuestion(TContinueQuestion question);
const TContinueQuestion &ContinueQuestion();

// An answerer for the lifetime of this object; the previous one comes back
// afterwards.
class TScopedContinueQuestion
{
public:
    explicit TScopedContinueQuestion(TContinueQuestion question)
        : FPrevious(SetContinueQuestion(std::move(question)))
    {
    }
    ~TScopedContinueQuestion() { SetContinueQuestion(std::move(FPrevious)); }
    TScopedContinueQuestion(const TScopedContinueQuestion &) = delete;
    TScopedContinueQuestion &operator=(const TScopedContinueQuestion &) = delete;

private:
    TContinueQuestion FPrevious;
};

class TTreeReader : public TReader
{
public:
    explicit TTreeReader(QIODevice &stream, int bufferSize = 4096);

    // The diagram being loaded: "Owner.Element" names an element of this
    // diagram among the components of its owner whatever the owner name
    // finds, and a reference to an element of any other diagram is left at
    // none. Null admits every component.
    TTreeDocument *Diagram() const { return FDiagram; }
    void SetDiagram(TTreeDocument *diagram) { FDiagram = diagram; }

    // What the plain reader absorbs stays absorbed; anything else is asked.
    bool Error(const QString &message) override;

protected:
    TComponent *ResolveReference(const QString &ident) override;

private:
    TTreeDocument *FDiagram = nullptr;
};

#pragma once
// The database-bound diagram. For now it is the plain diagram under its own
// class name, so the application's documents are database-capable from the
// start and files name the class they were written from.

#include "view/Arbolix.h"

class TDBTree : public TTree
{
    DX_OBJECT(TDBTree)
public:
    explicit TDBTree(TComponent *owner = nullptr, QWidget *parent = nullptr) : TTree(owner, parent) {}
};

// Registers the database-bound diagram for files (after the view's
// classes). Calling it again does nothing.
void RegisterDBTreeClasses();

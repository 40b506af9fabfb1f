#pragma once
// A diagram document with its animation: the diagram file, followed by the
// player and its animations as a second record when there is a player.
//
//   std::unique_ptr<TTreeAnimate> player;
//   LoadDocumentFile(*tree, name, player);   // null when the file has none
//   SaveDocumentFile(*tree, name, player.get());
//
// The player read is bound to the diagram; its animations are owned by the
// diagram's owner, as the diagram's elements are, so their names are
// unique among them. Saving while the animation plays writes the values
// from before playing.

#include <QIODevice>
#include <QString>
#include <memory>

class TReader;
class TTreeAnimate;
class TTreeDocument;
class TWriter;

// What follows the diagram in a file being read: the player when one is
// there (another object is read and dropped), else null.
std::unique_ptr<TTreeAnimate> ReadAnimationPart(TReader &reader, TTreeDocument &diagram);
// The signature and the player's record.
void WriteAnimationPart(TWriter &writer, TTreeAnimate &player);

// Loads the diagram and its animation; `player` is freed first and then
// holds what the file holds (null for none).
void LoadDocument(TTreeDocument &diagram, QIODevice &stream, std::unique_ptr<TTreeAnimate> &player);
void LoadDocumentFile(TTreeDocument &diagram, const QString &fileName, std::unique_ptr<TTreeAnimate> &player);
// Saves the diagram, then the player when there is one.
void SaveDocument(TTreeDocument &diagram, QIODevice &stream, TTreeAnimate *player);
void SaveDocumentFile(TTreeDocument &diagram, const QString &fileName, TTreeAnimate *player);

#pragma once
// Diagram files (.abx): the signature "TPF0", the diagram's record with its
// own properties and every element as a child record (nodes in Shapes
// order, then connections), optionally followed by further records (the
// animation) that the caller writes and reads after the diagram.
//
//   SaveDiagramFile(*tree, name, [&](TWriter &w) { w.WriteSignature(); w.WriteComponent(*animate); });
//   LoadDiagramFile(*tree, name, [](void *data, TReader &reader, QIODevice &stream) {
//       if (!reader.AtEnd()) { reader.ReadSignature(); auto animate = reader.ReadRootComponent(); ... }
//   }, data);
//
// Loading. The signature (and the class of the stored root, when the
// registry knows it as something other than a diagram) is checked before
// the diagram is touched, so a file that is no diagram leaves the current
// document as it was ("Invalid stream format", "Internal Error reading
// Tree."). Then the diagram is cleared and read: its own properties, then
// each element, created through the class registry, owned by the diagram's
// owner, named as stored, its properties applied while it is detached,
// then attached. References ("TreeEditor1.TreeNodeShape3") resolve after
// everything was read, among the components of the diagram's owner
// whatever owner name the file holds, and only to elements of this
// diagram. Designing is on for the time of the load (unless the diagram is
// in its design state); the control's bounds and alignment and its
// repainting are kept. A node keeps the visibility it was stored with.
//
// Read problems ask "Continue?" through TTreeReader. When a load stops
// (No, a truncated or malformed file, an unknown class, a duplicate name)
// the elements read so far stay with their references resolved, the
// diagram is marked PartlyRead, and the error is thrown; SaveDiagramFile
// will not write the partial diagram over the file it came from.
//
// Saving writes the diagram's record with an empty name (so reading it
// back does not rename the diagram) and with the control shown.
// SaveDiagramFile writes a temporary file and replaces the target only when
// everything was written, so a failed save never destroys the previous
// file.

#include "core/Reader.h"
#include "core/Writer.h"

#include <QIODevice>
#include <QString>
#include <functional>

class TTreeDocument;

// Reads what follows the diagram (called with the caller's data, the
// reader positioned after the diagram's record, and the stream).
using TLoadContinuation = std::function<void(void *data, TReader &reader, QIODevice &stream)>;
// Writes what follows the diagram.
using TSaveContinuation = std::function<void(TWriter &writer)>;

// The name references use for the elements' owner when it has none.
extern const char *const kDefaultHostName; // "TreeEditor1"

// The signature and the diagram with its elements, then what the
// continuation writes.
void SaveDiagram(TTreeDocument &diagram, QIODevice &stream, const TSaveContinuation &continuation = {});
// Clears the diagram and reads the signature and the diagram into it; then
// runs the continuation.
void LoadDiagram(TTreeDocument &diagram, QIODevice &stream, const TLoadContinuation &continuation = {},
                 void *data = nullptr);

// A file name with the ".abx" extension added when it has none.
QString DiagramFileName(const QString &fileName);
// Opens the file (".abx" added to a name without extension) and loads it,
// then repaints. EFileError "Cannot open file ..." when it cannot be read.
void LoadDiagramFile(TTreeDocument &diagram, const QString &fileName, const TLoadContinuation &continuation = {},
                     void *data = nullptr);
// Saves the diagram and what the continuation writes into a file (".abx"
// added to a name without extension), replacing it only when all was
// written. EFileError "Cannot create file ..." when it cannot be written.
void SaveDiagramFile(TTreeDocument &diagram, const QString &fileName, const TSaveContinuation &continuation = {});

// The layout of a keep-all block: the catalogued rows written from the fields
// together with what was carried of the old block, laid out as TIFF asks.
//
// By TIFF offsets (the segment's first 18 bytes are those of exif_segment.h):
//   8   IFD0: 2 count, 12-byte entries ascending by tag (8769 -> Exif IFD,
//       8825 -> GPS IFD), 4 link -> IFD1 (0 without one)
//   ..  then, each at the first free even offset in this order: IFD0's
//       values; the Exif IFD (A005 -> interoperability IFD) and its values;
//       the interoperability IFD and the GPS IFD, each with its values; IFD1,
//       its values and its thumbnail (0201 or 0111 rewritten to point at it)
// Every directory and every value starts on an even offset; values of 4
// bytes or fewer stand in their entries. The maker note keeps its offset,
// and what it points to keeps theirs, unless they fall on IFD0; everything
// else goes around them.
#pragma once

#include "model/record_store.h"
#include "reader/carried_block.h"
#include "reader/maker_note.h"
#include "writer/exif_segment.h"

namespace tagloom {

// The segment of the written rows and of all of `carried`, the maker note at
// `makerNote`'s place where it can be. Its report names what `carried`
// leaves out. A GPS or interoperability directory without entries is not
// written.
BuiltSegment AssembleCarried(RecordStore& store, const MakerNotePlace& makerNote,
                             const CarriedBlock& carried);

// Takes one more thing out of what is to be carried, for size: the
// thumbnail, else the entry that takes the most bytes; names it among what
// is not carried. False when nothing is left to take out.
bool DropForSize(CarriedBlock& carried);

}  // namespace tagloom

// Conversion between the binary form and the text form of component streams.
//
// The text form:
//
//   object Name: TClass            (or "inherited" / "inline"; "object TClass" for no name;
//     Caption = 'It''s'#13#10'ok'   an optional " [n]" gives the child position)
//     Font.Size = 12
//     Ratio = 1.5                  (floats: shortest exact text, '.' as decimal point; a suffix
//     Kind = ckSolid                marks Single s, Currency c, Date d, Double f)
//     Flags = [fbLeft, fbTop]
//     Lines.strings = (
//       'a'
//       'b')
//     Data = {
//       0A0B0C}
//     Items = <
//       item
//         Width = 3
//       end>
//     object Child: TOther
//     end
//   end
//
// Canonical files (those ObjectBinaryToText writes) convert to binary and back byte for byte,
// and so do binary streams written by TWriter. Strings longer than 64 characters are cut into
// pieces joined by '+'; printable text is written as it is (UTF-8), control characters and
// unpaired surrogates as #nnn.
#pragma once

class TStream;

enum TStreamOriginalFormat { sofUnknown, sofBinary, sofText };

// Both read from the input's position to its end and write at the output's position. They raise
// EReadError (EParserError for text) on malformed input.
void ObjectBinaryToText(TStream& input, TStream& output);
void ObjectTextToBinary(TStream& input, TStream& output);
// Looks at the input's first bytes without moving its position.
TStreamOriginalFormat TestStreamFormat(TStream& input);

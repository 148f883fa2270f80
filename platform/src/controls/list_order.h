// The one order of sorted list and combo boxes: cp1250 texts in the Czech alphabet.
//
// Three levels, each deciding only when the ones before it tie over the whole text:
//   1. letters: a b c č d e f g h i j k l m n o p q r ř s š t u v w x y z ž. Č, Ř, Š and Ž are
//      letters of their own, after c, r, s and z, as a Czech reader looks for them ("cvik" comes
//      before "čáp"); every other accented letter counts as its base letter (á, ď, é, ě, í, ň, ó,
//      ť, ú, ů, ý and the foreign ones: ä, ł, ő, ś ...). Before all letters come spaces and
//      punctuation (in byte order), then digits.
//   2. accents: a plain letter before its accented forms (e < é < ě in the order of the table).
//   3. case: small before capital.
// So "ab" < "Ab" < "áb" < "b", and "čáp" < "dům" < "Žába".
//
// "ch" is two letters here, c then h, not the Czech letter between h and i: typed prefixes must
// stay contiguous in sorted order, so that the letter search and LB_FINDSTRING over "c" meet every
// "ch..." item among the other "c..." items rather than in a second run after "h".
#ifndef WINPLAT_SRC_CONTROLS_LIST_ORDER_H
#define WINPLAT_SRC_CONTROLS_LIST_ORDER_H

#include <string_view>

namespace winplat::controls {

// Negative, zero or positive as a sorts before, with or after b; zero only for equal texts.
int compareListTexts(std::string_view a, std::string_view b);

// The text's first letters against a prefix at the first level alone (letters, accents and case
// ignored): negative, zero or positive as they sort before, level with or after the prefix; a
// text shorter than the prefix sorts before it when its letters are the prefix's first ones. In
// a sorted list the texts level with a prefix lie together, and every text that begins with the
// prefix (startsWithFolded) is among them.
int comparePrefixLetters(std::string_view text, std::string_view prefix);

// Whether the text begins with the prefix, letters compared without case (the cp1250 rule),
// accents kept: what LB_FINDSTRING and the letter search match.
bool startsWithFolded(std::string_view text, std::string_view prefix);

// Whether the texts are equal, letters compared without case: LB_FINDSTRINGEXACT.
bool equalsFolded(std::string_view a, std::string_view b);

}  // namespace winplat::controls

#endif

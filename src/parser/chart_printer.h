// Text forms of parse items and of a category's chart, used by the monitor
// traces, the chart-printing command and debugging.
//
// Item form: "[" low "," high "] " and the words of the span, then for each
// alternative of the packed chain "\n  w=" weight " " the vector (with the
// parser's show attributes), " from " modifier-category " (" type ")" for
// an item projected through a relation, and " " the lexical root when the
// item holds a lexical item.  A null item prints "nil".
#ifndef LORVAN_PARSER_CHART_PRINTER_H_
#define LORVAN_PARSER_CHART_PRINTER_H_

#include <iosfwd>

namespace lorvan {

class GCate;
class PItem;

// The item form (no line end).
void print_pitem(std::ostream& out, const PItem* item);

// Debugging form of one item: "[" low "," high "] w=" weight " " the whole
// vector, the root, and a line end, on std::cerr.
void printitem(const PItem* item);

// For every last word with items: "\nBucket " h ":\n", then for each
// position p from the head position to num_positions() with items,
// "Position: " p "\n", each item in item form with a line end, and an empty
// line after the position.
void print_chart(std::ostream& out, const GCate& category);

}  // namespace lorvan

#endif  // LORVAN_PARSER_CHART_PRINTER_H_

// The attribute kinds beyond BinAtt: DisjAtt, Disj8Att, EntAtt, EnumAtt,
// IntAtt, SmIntAtt, StrAtt, VecAtt, ListAtt, StackAtt and TraceAtt.  Each
// registers its prototype with AttInterpreter::attitp_proto from its own
// start-up function; attkinds_init() runs them all.
#ifndef LORVAN_FEATURES_ATTKINDS_H_
#define LORVAN_FEATURES_ATTKINDS_H_

namespace lorvan {

// Registers the prototypes of every kind listed above, so that
// `defattribute` can name them.  Safe to call more than once: each kind
// registers once.
void attkinds_init();

}  // namespace lorvan

#endif  // LORVAN_FEATURES_ATTKINDS_H_

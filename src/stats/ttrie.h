// TTrie<K, V>: a trie whose edges are labelled with keys of type K and whose
// nodes carry a value of type V and an end flag (the path to the node is a
// stored sequence).
//
// Nodes live in one vector owned by the trie and are named by their index;
// the root is node 0 and always exists.  Indexes stay valid as nodes are
// added (references do not: re-fetch node() after add_child()).  Children
// are kept in ascending key order.  Nothing here recurses, so very long
// sequences are safe.
#ifndef LORVAN_STATS_TTRIE_H_
#define LORVAN_STATS_TTRIE_H_

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

namespace lorvan {

template <class K, class V>
class TTrie {
 public:
  using NodeId = std::uint32_t;
  static constexpr NodeId kRoot = 0;
  static constexpr NodeId kNone = ~NodeId{0};

  struct Node {
    V value{};
    bool end = false;
    std::vector<std::pair<K, NodeId>> children;  // ascending by key
  };

  TTrie() : nodes_(1) {}

  Node& node(NodeId id) { return nodes_[id]; }
  const Node& node(NodeId id) const { return nodes_[id]; }

  // The child of `parent` along `key`, or kNone.
  NodeId child(NodeId parent, K key) const {
    const auto& children = nodes_[parent].children;
    auto at = lower_bound(children, key);
    return at != children.end() && at->first == key ? at->second : kNone;
  }
  // The child along `key`, made (with a default value, no end flag) when
  // missing.
  NodeId add_child(NodeId parent, K key) {
    auto& children = nodes_[parent].children;
    auto at = lower_bound(children, key);
    if (at != children.end() && at->first == key) return at->second;
    NodeId id = static_cast<NodeId>(nodes_.size());
    children.insert(at, {key, id});
    nodes_.emplace_back();
    return id;
  }
  // Back to a lone root with a default value.
  void clear() { nodes_.assign(1, Node{}); }

 private:
  template <class Children>
  static auto lower_bound(Children& children, K key) {
    return std::lower_bound(children.begin(), children.end(), key,
                            [](const auto& edge, K k) { return edge.first < k; });
  }

  std::vector<Node> nodes_;
};

}  // namespace lorvan

#endif  // LORVAN_STATS_TTRIE_H_

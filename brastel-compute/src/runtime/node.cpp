#include "conjure_object/node.h"

namespace conjure_object {

namespace {
// Nodes waiting to be freed by the outermost destroy() on this thread,
// linked through the nodes themselves so that freeing never allocates.
// Initial-exec: read at every free, so no call to the TLS resolver.
[[gnu::tls_model("initial-exec")]] thread_local const Node* pending = nullptr;
[[gnu::tls_model("initial-exec")]] thread_local bool draining = false;
}  // namespace

void Node::destroy(const Node* node) noexcept {
  if (draining) {
    node->next_pending_ = pending;
    pending = node;
    return;
  }
  draining = true;
  delete node;
  while (pending != nullptr) {
    const Node* next = pending;
    pending = next->next_pending_;
    delete next;
  }
  draining = false;
}

}  // namespace conjure_object

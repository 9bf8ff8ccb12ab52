// Shared, immutable heap nodes. A union value is a tag and a reference to
// its payload's node, so copying any value is O(1) whatever the size of its
// subtree: nodes are never changed after construction, so sharing them is
// indistinguishable from copying them.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <utility>

// Reference counts are atomic, so that C++ callers may share nodes between
// threads. A binary whose every reference is taken and dropped by one
// thread at a time may count with plain integers instead, saving a locked
// instruction per copy and drop: the Python module does, since all its code
// runs under its interpreter's lock (a stable-ABI module cannot load into a
// free-threaded interpreter, only the main interpreter may import it, and
// it never releases the lock). The choice is one for a whole binary, every
// source compiled alike (the build sets it on the module's own build of the
// core, for all that links it): the inline code below differs with it.
#ifndef CONJURE_NODE_PLAIN_REFS
#define CONJURE_NODE_PLAIN_REFS 0
#endif

namespace conjure_object {

class Node {
 public:
  Node(const Node&) = delete;
  Node& operator=(const Node&) = delete;

  // Nodes are small and are made and freed at a high rate: their blocks
  // come from a per-thread cache of freed blocks before going to malloc.
  static void* operator new(std::size_t size);
  static void operator delete(void* block, std::size_t size) noexcept;

#if CONJURE_NODE_PLAIN_REFS
  void retain() const noexcept { ++refs_; }
  void release() const noexcept {
    if (--refs_ == 0) destroy(this);
  }
#else
  void retain() const noexcept { refs_.fetch_add(1, std::memory_order_relaxed); }
  void release() const noexcept {
    // A sole owner needs no read-modify-write: nobody else can be copying a
    // reference it alone holds. This is the common case of a fresh result.
    if (refs_.load(std::memory_order_acquire) == 1 || refs_.fetch_sub(1, std::memory_order_acq_rel) == 1) {
      destroy(this);
    }
  }
#endif

 protected:
  Node() = default;
  virtual ~Node() = default;

 private:
  // Frees a node whose last reference is gone. Children released while a
  // node is being freed are queued instead of freed recursively, so freeing
  // a chain of any length uses constant stack.
  // Named apart in each setting, so that sources compiled with the other
  // one fail to link rather than share nodes with a mismatched count.
#if CONJURE_NODE_PLAIN_REFS
  [[gnu::abi_tag("plain_refs")]]
#endif
  static void destroy(const Node* node) noexcept;

#if CONJURE_NODE_PLAIN_REFS
  mutable std::uint32_t refs_ = 1;
#else
  mutable std::atomic<std::uint32_t> refs_{1};
#endif
  mutable const Node* next_pending_ = nullptr;
};

template <class T>
class Boxed final : public Node {
 public:
  template <class... Args>
  explicit Boxed(Args&&... args) : value(std::forward<Args>(args)...) {}
  const T value;
};

// An owning reference to a node (never null once constructed by make_node).
class NodeRef {
 public:
  NodeRef() noexcept = default;
  explicit NodeRef(const Node* adopted) noexcept : p_(adopted) {}
  NodeRef(const NodeRef& o) noexcept : p_(o.p_) {
    if (p_) p_->retain();
  }
  NodeRef(NodeRef&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  NodeRef& operator=(NodeRef o) noexcept {
    std::swap(p_, o.p_);
    return *this;
  }
  ~NodeRef() {
    if (p_) p_->release();
  }

  const Node* get() const noexcept { return p_; }

  template <class T>
  const T& as() const noexcept {
    return static_cast<const Boxed<T>*>(p_)->value;
  }

 private:
  const Node* p_ = nullptr;
};

template <class T, class... Args>
NodeRef make_node(Args&&... args) {
  return NodeRef(new Boxed<T>(std::forward<Args>(args)...));
}

}  // namespace conjure_object

namespace conjure_object {

// A shared immutable holder for a record that contains itself (through a
// map or list of its own type), which C++ cannot hold by value.
template <class T>
class Box {
 public:
  Box(T value) : node_(make_node<T>(std::move(value))) {}
  const T& operator*() const noexcept { return node_.as<T>(); }
  const T* operator->() const noexcept { return &node_.as<T>(); }

 private:
  NodeRef node_;
};

}  // namespace conjure_object

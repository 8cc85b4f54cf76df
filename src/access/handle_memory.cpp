// The block list a handle owns, and handle release.
//
// Every block resolution allocates for a handle is chained into one list
// (xfmalloc) so that xfdel frees all of them at once; single blocks are
// never released one by one (xffree does nothing).
#include <cstdint>
#include <cstdlib>

#include "access/handle_memory.h"
#include "access/pseudo.h"
#include "valfmt.h"

namespace valfmt {
namespace {

// A block: the next block's address, 8 reserved bytes, then the caller's
// bytes.  The address handed out lies kBlockHeader bytes into the block.
constexpr std::size_t kBlockHeader = 16;
constexpr std::size_t kBlockOverhead = 24;

bool is_user_handle(const fmthandle *h) {
  return h->modname[0] == '-' || h->modname[0] == '+';
}

} // namespace

void free_block_list(void *head) {
  while (head != nullptr) {
    void *next = *static_cast<void **>(head);
    std::free(head);
    head = next;
  }
}

void *block_of(void *handed_out) {
  return static_cast<char *>(handed_out) - kBlockHeader;
}

} // namespace valfmt

extern "C" {

VF_API void *xfmalloc(void ***tail, int64_t size) {
  if (tail == nullptr || *tail == nullptr || size < 0 || size > INT64_MAX / 2)
    return nullptr;
  const auto bytes = static_cast<std::size_t>(size) + valfmt::kBlockOverhead;
  auto *block = static_cast<char *>(std::calloc(1, bytes));
  if (block == nullptr) return nullptr;
  **tail = block;
  *tail = reinterpret_cast<void **>(block);
  return block + valfmt::kBlockHeader;
}

VF_API void xffree(void *) {}

// A user-format handle frees its whole list (which holds the handle itself
// when the library allocated it); a built-in handle that the library
// allocated is one block of its own.  Caller storage and the constant
// pseudo-format records free nothing.
VF_API int32_t xfdel(fmthandle *handle) {
  using namespace valfmt;
  if (handle == nullptr || is_pseudo_record(handle)) return 0;
  if (is_user_handle(handle)) {
    free_block_list(reinterpret_cast<fmtuhandle *>(handle)->blockhead);
    return 0;
  }
  if (handle->self == nullptr) std::free(block_of(handle));
  return 0;
}

} // extern "C"

// The block list behind xfmalloc, for the resolution code that builds
// handles on it.
#pragma once

namespace valfmt {

// Frees every block of a list, following the next links from `head`.
void free_block_list(void *head);

// The block that starts before an address xfmalloc handed out.
void *block_of(void *handed_out);

} // namespace valfmt

// Which rows of the game's picture the page's GPU texture needs again: runs of changed rows,
// handed on as the 16-bit pixels they are.
#pragma once

#include <vector>

#include "host/change_tracker.h"
#include "host/host.h"

namespace host {

struct RowRun {
  int first = 0;
  int count = 0;
};

class TextureRows {
 public:
  // The runs of rows changed since the frame taken before, top to bottom; every row of the
  // first frame, of one of another size and of the first after Forget. Unchanged rows
  // between two close runs go with them: one upload costs more than a few rows.
  const std::vector<RowRun>& Take(const Frame& frame);
  // The texture was lost: the next frame goes up whole.
  void Forget() { changes_.Forget(); }

 private:
  ChangeTracker changes_;
  std::vector<RowRun> runs_;
};

}  // namespace host

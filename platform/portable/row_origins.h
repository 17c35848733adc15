// What each row of a surface is known to be a copy of, so that copying the same row over it
// again can be skipped, and a host can tell a row it has shown from a changed one unread.
#pragma once

#include <cstdint>
#include <vector>

namespace portable {

class RowOrigins {
 public:
  // A row whose contents are not known to be a copy of anything.
  static constexpr std::uint64_t kUnknown = 0;
  // Rows of a kept picture are numbered below this.
  static constexpr std::int64_t kMostRows = std::int64_t{1} << 24;

  explicit RowOrigins(int rows) : rows_(static_cast<std::size_t>(rows), kUnknown) {}

  // A number for a picture's contents that no other contents had or will have.
  static std::uint64_t NewContents();
  // Row `row` (below kMostRows) of the contents numbered `contents`.
  static std::uint64_t Of(std::uint64_t contents, std::int64_t row) {
    return contents << 24 | static_cast<std::uint64_t>(row);
  }

  std::uint64_t At(int row) const { return rows_[static_cast<std::size_t>(row)]; }
  void Set(int row, std::uint64_t origin) { rows_[static_cast<std::size_t>(row)] = origin; }
  // Rows [top, bottom), clipped to the picture, were drawn on.
  void Forget(std::int64_t top, std::int64_t bottom);
  void ForgetAll() { Forget(0, static_cast<std::int64_t>(rows_.size())); }
  // The memory of two surfaces changes places, and with it what their rows hold.
  void Swap(RowOrigins& other) { rows_.swap(other.rows_); }
  const std::uint64_t* data() const { return rows_.data(); }

 private:
  std::vector<std::uint64_t> rows_;
};

}  // namespace portable

#pragma once

#include "core/Core_Assert.h"

#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

namespace Core
{
class File;
}

namespace Physics2D
{

class RigidBody;

// Storage on 16-byte boundaries, so the batched sweeps read and write whole
// groups of four floats with aligned vector operations.
template <class T> struct Aligned16Allocator
{
    using value_type = T;
    static constexpr std::align_val_t Alignment{16};

    Aligned16Allocator() = default;
    template <class U> Aligned16Allocator(const Aligned16Allocator<U>&) noexcept {}
    T* allocate(std::size_t count) { return static_cast<T*>(::operator new(count * sizeof(T), Alignment)); }
    void deallocate(T* block, std::size_t) noexcept { ::operator delete(block, Alignment); }
    template <class U> bool operator==(const Aligned16Allocator<U>&) const noexcept { return true; }
};
using AlignedFloats = std::vector<float, Aligned16Allocator<float>>;

// Bookkeeping of one constraint row: the two bodies it couples and, for a
// row whose bounds follow another row (friction), that row and the factor:
// while iterating, the row stays within +-coefficient x the other row's
// multiplier. A row filler gives the link as an index local to its own rows;
// the engine turns it into a global one before the solve.
struct RowRecord
{
    RigidBody* body1 = nullptr;
    RigidBody* body2 = nullptr;
    std::int32_t linkedRow = -1;
    float coefficient = 0.0f;
};

// The rows one constraint fills, starting at its first row in the solver's
// storage. Row r of the Jacobian is six floats: body 1 linear x and y, body 1
// angular, body 2 linear x and y, body 2 angular. A filler writes rows below
// `rows` only.
struct RowWindow
{
    float* jacobian = nullptr;
    float* target = nullptr;
    float* softness = nullptr;
    float* lower = nullptr;
    float* upper = nullptr;
    RowRecord* records = nullptr;
    std::uint32_t rows = 0;

    void SetJacobian(std::uint32_t row, float j1x, float j1y, float j1w, float j2x, float j2y,
                     float j2w) const
    {
        ENGINE_ASSERT(row < rows);
        float* j = jacobian + 6 * row;
        j[0] = j1x;
        j[1] = j1y;
        j[2] = j1w;
        j[3] = j2x;
        j[4] = j2y;
        j[5] = j2w;
    }
    void SetRow(std::uint32_t row, float targetValue, float softnessValue, float lowerBound,
                float upperBound) const
    {
        ENGINE_ASSERT(row < rows);
        target[row] = targetValue;
        softness[row] = softnessValue;
        lower[row] = lowerBound;
        upper[row] = upperBound;
    }
};

// Projected Gauss-Seidel over the rows of one engine pass. It finds one
// multiplier per row for J M^-1 J^T lambda = b within each row's bounds, and
// leaves the result as one acceleration (x, y, angle) per body: the velocity
// derivative adds it in the velocity pass, the position-correction pass turns
// it into a displacement (times step^2).
//
// Row storage is flat per-row arrays indexed by global row; it only grows, so
// a pass allocates nothing unless it has more rows or bodies than every
// earlier one. The multipliers survive between solves for warm starting, one
// set per phase.
class ConstraintSolver
{
public:
    static constexpr std::uint32_t DefaultIterations = 75;

    struct Settings
    {
        std::uint32_t iterations = DefaultIterations;
        bool warmStart = false;
        float relaxation = 1.0f;
    };

    ConstraintSolver() = default;
    ConstraintSolver(const ConstraintSolver&) = delete;
    ConstraintSolver& operator=(const ConstraintSolver&) = delete;

    // Sizes the pass: clears the first `rows` rows (Jacobian, targets,
    // softness, bounds, links) and every body accumulator. Multipliers are
    // cleared only when the storage grew.
    void Prepare(std::uint32_t rows, std::uint32_t bodies);

    // Takes the spin of step body `body` out of the unknowns of the next
    // Solve: the rows see the angular value its accumulator holds when the
    // solve starts and never change it. Prepare frees every body again.
    void FixSpin(std::uint32_t body) { fixedSpin_[body] = 1; }

    // Also sets the joints' class-wide flag that row fillers read.
    void SetPositionCorrectionPhase(bool on);
    bool IsPositionCorrectionPhase() const { return positionCorrectionPhase_; }

    // Every row's body must carry one of this solver's accumulators (the
    // engine attaches them); a side without one is treated as immovable.
    void Solve();
    // The same with the given sweep count and warm start instead of the
    // settings'.
    void Solve(std::uint32_t sweeps, bool warmStart);

    void SetAccuracy(std::uint32_t iterations) { settings_.iterations = iterations; }
    std::uint32_t GetAccuracy() const { return settings_.iterations; }
    void SetWarmStart(bool on) { settings_.warmStart = on; }
    bool GetWarmStart() const { return settings_.warmStart; }
    void SetRelaxation(float relaxation) { settings_.relaxation = relaxation; }
    float GetRelaxation() const { return settings_.relaxation; }
    const Settings& GetSettings() const { return settings_; }
    void SetSettings(const Settings& settings) { settings_ = settings; }

    // Record: u32 iteration count, u8 warm start, f32 relaxation.
    void WriteSettings(Core::File& file) const;
    // The whole record into `settings`, or false with the archive failed.
    static bool ReadSettings(Core::File& file, Settings& settings);

    // The rows [first, first + rows) as a filler sees them.
    RowWindow GetRowWindow(std::uint32_t first, std::uint32_t rows);
    RowRecord& GetRowRecord(std::uint32_t row)
    {
        ENGINE_ASSERT(row < rowCount_);
        return records_[row];
    }
    // Three floats (x, y, angle) for the step body of that index.
    float* GetBodyAccumulator(std::uint32_t body)
    {
        ENGINE_ASSERT(body < bodyCount_);
        return &accumulators_[3 * body];
    }
    // The multiplier of the row in the last solve of the current phase.
    float GetMultiplier(std::uint32_t row) const
    {
        ENGINE_ASSERT(row < rowCapacity_);
        return multipliers_[positionCorrectionPhase_ ? 1 : 0][row];
    }
    // The current phase's multipliers, one per row of the pass: what a warm
    // start begins from, and what the last solve left.
    float* GetMultipliers() { return multipliers_[positionCorrectionPhase_ ? 1 : 0].data(); }
    const float* GetJacobian(std::uint32_t row) const
    {
        ENGINE_ASSERT(row < rowCapacity_);
        return &jacobian_[6 * row];
    }
    float GetTarget(std::uint32_t row) const
    {
        ENGINE_ASSERT(row < rowCapacity_);
        return target_[row];
    }
    float GetLowerBound(std::uint32_t row) const
    {
        ENGINE_ASSERT(row < rowCapacity_);
        return lower_[row];
    }
    float GetUpperBound(std::uint32_t row) const
    {
        ENGINE_ASSERT(row < rowCapacity_);
        return upper_[row];
    }

    std::uint32_t GetRowCount() const { return rowCount_; }
    // The sweeps run four independent rows side by side where the rows'
    // schedule fills at least two lanes a batch on average, and row by row
    // otherwise; both give the same bits. `always` takes the batched sweeps
    // whenever they can be taken (tests comparing the two use it).
    void SetBatchedSweepsAlways(bool always) { batchedAlways_ = always; }
    // The batched sweeps' kernels, plainest first. All give the same bits;
    // the last one the processor runs is taken, up to `most` (so tests can
    // run each of them). Applies to every solver.
    enum class SweepKernel
    {
        Baseline,
        Avx,
        Avx2
    };
    static void LimitSweepKernel(SweepKernel most);

    std::uint32_t GetRowCapacity() const { return rowCapacity_; }
    std::uint32_t GetBodyCount() const { return bodyCount_; }
    std::uint32_t GetBodyCapacity() const { return bodyCapacity_; }

private:
    // The sweeps row by row in storage order: the definition of the result.
    void SweepRows(std::uint32_t sweeps);
    // The same sweeps four rows at a time (see the .cpp); false, leaving the
    // multipliers and accumulators untouched, where it cannot promise the
    // row-by-row result bit for bit.
    bool SweepBatches(std::uint32_t sweeps);
    // Packs the rows into batches; false where it cannot.
    bool ScheduleBatches();
    // Orders the rows into batches from their body slots and links.
    void Schedule();

    Settings settings_;
    bool positionCorrectionPhase_ = false;
    bool batchedAlways_ = false;

    std::uint32_t rowCount_ = 0;
    std::uint32_t rowCapacity_ = 0;
    std::uint32_t bodyCount_ = 0;
    std::uint32_t bodyCapacity_ = 0;

    std::vector<float> jacobian_; // 6 per row
    std::vector<float> weighted_; // 6 per row: M^-1 J^T
    std::vector<RowRecord> records_;
    std::vector<float> target_;
    std::vector<float> softness_;
    std::vector<float> scratch_; // softness x factor during the sweeps
    std::vector<float> rhs_;
    std::vector<float> lower_;
    std::vector<float> upper_;
    // Per phase: velocity pass, position-correction pass.
    std::vector<float> multipliers_[2];
    // Accumulator offsets (in floats) of each row's two bodies, resolved
    // once per solve so the sweeps read flat arrays only.
    std::vector<std::uint32_t> accumulator1_;
    std::vector<std::uint32_t> accumulator2_;
    // 3 per body, plus one trailing sink for a side that has none.
    std::vector<float> accumulators_;
    // 1 per body, and the sink's: the body's spin is no unknown this solve.
    std::vector<std::uint8_t> fixedSpin_;
    // Per row: bit 0 (1) / bit 1 (2) set where side 1 / 2 has neither mass
    // nor spin among the unknowns, so the rows never move it.
    std::vector<std::uint8_t> immovable_;

    // Batched sweeps. Rows are packed four to a batch, none of a batch's rows
    // sharing a movable body, and every body's rows kept in storage order
    // across batches.
    std::uint32_t batchCount_ = 0;
    AlignedFloats batchData_;                  // per batch: the lanes' values, see the .cpp
    std::vector<std::int32_t> batchIndex_;     // per batch: accumulator slots and link lanes
    std::vector<std::int32_t> rowLane_;        // per row: batch x 4 + lane
    std::vector<std::int32_t> lastWriter_;     // per body slot, while packing: last batch x 8 + side-lane
    std::vector<std::int32_t> rowSlots_;       // per row: both sides' body slots, -1 for an unmoved side
    std::vector<std::int32_t> scheduledLinks_; // per row: the links the batches were made for
    std::vector<std::int32_t> lastRow_;        // per body
    std::vector<std::int32_t> nextRow_;        // per row and side: the next row of that body
    std::vector<std::int32_t> waiting_;        // per row: rows still to go before it
    std::vector<std::int32_t> followers_;      // per row: first later row whose bounds follow it
    std::vector<std::int32_t> nextFollower_;   // per row: the next follower of the same row
    std::vector<std::uint32_t> height_;        // per row
    std::vector<std::uint32_t> rankStarts_;    // per height, tallest first: its first rank
    std::vector<std::uint32_t> rowRank_;       // per row: its place by height, then storage order
    std::vector<std::uint32_t> rankRow_;       // per rank: its row
    std::vector<std::uint64_t> readyBits_;     // per rank: free to go
    std::vector<std::uint64_t> readySummary_;  // per word of readyBits_: any set
    AlignedFloats laneMultipliers_;            // per lane
    AlignedFloats laneClamps_;                 // per batch, see SweepBatches
    std::vector<int> clampCodes_;
    AlignedFloats laneAccumulators_; // 4 per body, a zero slot per side and lane, a spare
};

} // namespace Physics2D

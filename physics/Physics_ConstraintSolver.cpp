#include "physics/Physics_ConstraintSolver.h"

#include "core/Core_File.h"
#include "physics/Physics_Joint.h"
#include "physics/Physics_RigidBody.h"
#include "physics/Physics_Simulation.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstring>
#include <limits>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace Physics2D
{

void ConstraintSolver::Prepare(std::uint32_t rows, std::uint32_t bodies)
{
    rowCount_ = rows;
    bool grew = false;
    if (rows > rowCapacity_)
    {
        rowCapacity_ = rows;
        // Allocated anew: nothing of the old rows is worth keeping.
        jacobian_.assign(6 * std::size_t{rows}, 0.0f);
        weighted_.assign(6 * std::size_t{rows}, 0.0f);
        records_.assign(rows, RowRecord{});
        for (std::vector<float>* row :
             {&target_, &softness_, &scratch_, &rhs_, &lower_, &upper_, &multipliers_[0], &multipliers_[1]})
        {
            row->assign(rows, 0.0f);
        }
        accumulator1_.assign(rows, 0);
        accumulator2_.assign(rows, 0);
        grew = true;
    }

    bodyCount_ = bodies;
    if (bodies > bodyCapacity_)
    {
        bodyCapacity_ = bodies;
        accumulators_.assign(3 * (std::size_t{bodies} + 1), 0.0f);
        fixedSpin_.assign(std::size_t{bodies} + 1, 0);
    }
    else if (accumulators_.empty())
    {
        accumulators_.assign(3, 0.0f);
        fixedSpin_.assign(1, 0);
    }

    if (rows > 0)
    {
        std::fill_n(jacobian_.begin(), 6 * std::size_t{rows}, 0.0f);
        for (std::vector<float>* row : {&target_, &softness_, &lower_, &upper_})
        {
            std::fill_n(row->begin(), rows, 0.0f);
        }
        if (grew)
        {
            std::fill_n(multipliers_[0].begin(), rows, 0.0f);
            std::fill_n(multipliers_[1].begin(), rows, 0.0f);
        }
        for (std::uint32_t i = 0; i < rows; ++i)
        {
            records_[i].linkedRow = -1;
            records_[i].coefficient = 0.0f;
        }
    }
    if (bodies > 0)
    {
        std::fill(accumulators_.begin(), accumulators_.end(), 0.0f);
    }
    std::fill(fixedSpin_.begin(), fixedSpin_.end(), 0);
}

void ConstraintSolver::SetPositionCorrectionPhase(bool on)
{
    positionCorrectionPhase_ = on;
    Joint::PositionCorrectionPhase = on ? 1 : 0;
}

RowWindow ConstraintSolver::GetRowWindow(std::uint32_t first, std::uint32_t rows)
{
    ENGINE_ASSERT(first <= rowCount_ && rows <= rowCount_ - first);
    RowWindow window;
    window.jacobian = jacobian_.data() + 6 * std::size_t{first};
    window.target = target_.data() + first;
    window.softness = softness_.data() + first;
    window.lower = lower_.data() + first;
    window.upper = upper_.data() + first;
    window.records = records_.data() + first;
    window.rows = rows;
    return window;
}

void ConstraintSolver::Solve()
{
    Solve(settings_.iterations, settings_.warmStart);
}

void ConstraintSolver::Solve(std::uint32_t sweeps, bool warmStart)
{
    const std::uint32_t rows = rowCount_;
    if (rows == 0)
    {
        return;
    }
    const float h = Simulation::inverseStep;
    const bool positionCorrection = positionCorrectionPhase_;

    float* const acc = accumulators_.data();
    const std::uint32_t sink = 3 * bodyCapacity_;
    float* const J = jacobian_.data();
    float* const B = weighted_.data();
    // Each phase warm starts from its own last solve: a velocity pass's
    // multipliers hold weight, a correction pass's remove penetration.
    float* const lambda = multipliers_[positionCorrection ? 1 : 0].data();
    float* const b = rhs_.data();
    float* const s = softness_.data();
    float* const t = scratch_.data();
    const float* const target = target_.data();
    const std::uint8_t* const fixedSpin = fixedSpin_.data();
    if (immovable_.size() < rows)
    {
        immovable_.resize(rows);
    }
    if (!warmStart)
    {
        std::fill_n(lambda, rows, 0.0f);
    }

    // The accumulator offset (in floats) of a row's side. The sink lies past
    // the last body; a side pointing there has its weighted row cleared, so
    // it neither moves nor disturbs the others.
    const auto offsetOf = [acc, sink](const RigidBody* body)
    {
        const float* accumulator = body != nullptr ? body->GetSolverAccumulator() : nullptr;
        if (accumulator == nullptr || accumulator < acc || accumulator >= acc + sink)
        {
            return sink;
        }
        return static_cast<std::uint32_t>(accumulator - acc);
    };
    // In the velocity pass b = h c - J a, where a = M^-1 F + h v is the
    // acceleration that would bring each body to rest within the step: the
    // row then drives the constrained velocity after the step to c.
    const auto acceleration = [h](const RigidBody* body, float* a)
    {
        if (body == nullptr)
        {
            a[0] = a[1] = a[2] = 0.0f;
            return;
        }
        const MassProperties& mass = body->GetMassProperties();
        const float m = mass.GetInverseMass();
        const float inertia = mass.GetInverseInertia();
        const Math::Vector2D& force = body->GetForce();
        const Math::Vector2D& velocity = body->GetVelocity();
        a[0] = m * force.x + h * velocity.x;
        a[1] = m * force.y + h * velocity.y;
        a[2] = inertia * body->GetTorque() + h * body->GetAngularVelocityRadians();
    };
    const float relaxation = settings_.relaxation;

    // One pass over the rows does every row's own work in the order the
    // steps depend on each other: accumulator offsets, right-hand side (from
    // the Jacobian as filled), weighted row M^-1 J^T, the warm start's share
    // of the accumulators (in row order, as each body's sum needs), and last
    // the scaling by the row's factor.
    for (std::uint32_t i = 0; i < rows; ++i)
    {
        // A friction row's bounds follow a multiplier of this pass.
        ENGINE_ASSERT(records_[i].linkedRow < static_cast<std::int32_t>(rows));
        const RigidBody* body1 = records_[i].body1;
        const RigidBody* body2 = records_[i].body2;
        const std::uint32_t offset1 = offsetOf(body1);
        const std::uint32_t offset2 = offsetOf(body2);
        accumulator1_[i] = offset1;
        accumulator2_[i] = offset2;
        // The row is read into locals once: the stores below must not be
        // read back before they have left the core.
        float* const j = J + 6 * std::size_t{i};
        const float j0 = j[0], j1 = j[1], j2 = j[2], j3 = j[3], j4 = j[4], j5 = j[5];

        if (positionCorrection)
        {
            b[i] = h * target[i];
        }
        else
        {
            float a[6];
            acceleration(body1, a);
            acceleration(body2, a + 3);
            float sum = 0.0f;
            sum += j0 * a[0];
            sum += j1 * a[1];
            sum += j2 * a[2];
            sum += j3 * a[3];
            sum += j4 * a[4];
            sum += j5 * a[5];
            b[i] = h * target[i] - sum;
        }

        const float softness = s[i] * h;
        s[i] = softness;
        const bool moved1 = body1 != nullptr && offset1 != sink;
        const bool moved2 = body2 != nullptr && offset2 != sink;
        const float m1 = moved1 ? body1->GetMassProperties().GetInverseMass() : 0.0f;
        const float i1 =
            moved1 && fixedSpin[offset1 / 3] == 0 ? body1->GetMassProperties().GetInverseInertia() : 0.0f;
        const float m2 = moved2 ? body2->GetMassProperties().GetInverseMass() : 0.0f;
        const float i2 =
            moved2 && fixedSpin[offset2 / 3] == 0 ? body2->GetMassProperties().GetInverseInertia() : 0.0f;
        const float w0 = m1 * j0, w1 = m1 * j1, w2 = i1 * j2, w3 = m2 * j3, w4 = m2 * j4, w5 = i2 * j5;
        float* const w = B + 6 * std::size_t{i};
        w[0] = w0;
        w[1] = w1;
        w[2] = w2;
        w[3] = w3;
        w[4] = w4;
        w[5] = w5;
        immovable_[i] = static_cast<std::uint8_t>((m1 == 0.0f && i1 == 0.0f ? 1 : 0) |
                                                  (m2 == 0.0f && i2 == 0.0f ? 2 : 0));

        // A warm start begins every row from the multiplier it holds, whole:
        // a resting stack's contacts carry nearly the same load each step,
        // and any share of it dropped must be rebuilt by the sweeps, from the
        // bottom of the stack up.
        if (warmStart)
        {
            const float l = lambda[i];
            float* a1 = acc + offset1;
            float* a2 = acc + offset2;
            a1[0] += w0 * l;
            a1[1] += w1 * l;
            a1[2] += w2 * l;
            a2[0] += w3 * l;
            a2[1] += w4 * l;
            a2[2] += w5 * l;
        }

        // Each row is scaled by its factor relaxation / d, d = J B + s, so a
        // sweep's update is a plain dot product.
        float d = 0.0f;
        d += j0 * w0;
        d += j1 * w1;
        d += j2 * w2;
        d += j3 * w3;
        d += j4 * w4;
        d += j5 * w5;
        d += softness;
        const float f = d != 0.0f ? relaxation / d : 0.0f;
        j[0] = j0 * f;
        j[1] = j1 * f;
        j[2] = j2 * f;
        j[3] = j3 * f;
        j[4] = j4 * f;
        j[5] = j5 * f;
        b[i] *= f;
        t[i] = softness * f;
    }

    if (sweeps > 0 && !SweepBatches(sweeps))
    {
        SweepRows(sweeps);
    }
    // The sink took what the immovable sides were given; it is no body's.
    acc[sink] = acc[sink + 1] = acc[sink + 2] = 0.0f;
}

// Batched sweeps.
//
// A sweep's result depends only on the order in which each body's rows
// update it (and a friction row on when its normal row was last updated):
// rows that share no movable body can run in any order, so running them side
// by side gives the row-by-row result bit for bit. Four such rows make a
// batch; each lane of the vector operations does exactly the row's
// floating-point operations, in the same order (or, where noted, ones that
// give the same bits for every input).
//
// A side that the rows never move (no inverse mass, no free spin, a zero
// accumulator) only ever gets +-0 added while every change is finite, so its
// accumulator stays +0; such sides read a zero slot (one per side and lane
// of a batch) and tie no rows together. Should a change not be finite (which would spread through the
// real accumulator of that side), the batched result is dropped and the rows
// run one by one.
namespace
{
// Floats per batch: Jacobian and weighted rows (6 x 4 lanes each, in the
// order x1, x2, y1, y2, w1, w2, so one 8-float block holds a component of
// both bodies), then right-hand side, softness term, friction coefficient,
// lower and upper bound and the linked-row mask (4 lanes each).
constexpr std::size_t BatchJ = 0;
constexpr std::size_t BatchW = 24;
constexpr std::size_t BatchB = 48;
constexpr std::size_t BatchT = 52;
constexpr std::size_t BatchCoefficient = 56;
constexpr std::size_t BatchLower = 60;
constexpr std::size_t BatchUpper = 64;
constexpr std::size_t BatchLinked = 68;
constexpr std::size_t BatchFloats = 72;
// Where the lanes of a row's k-th Jacobian (or weighted) entry start.
constexpr std::size_t BatchRowEntry(std::size_t k)
{
    return 8 * (k % 3) + 4 * (k / 3);
}
// Ints per batch: each lane's accumulator offset (floats) for body 1 and 2,
// and the lane holding the row its bounds follow (its own when none).
constexpr std::size_t BatchSlots = 0;
constexpr std::size_t BatchFollowed = 8;
// Then, for the kernel that keeps the last batch's results in registers:
// per side and lane (body 1 lanes, then body 2 lanes), which of the last
// batch's eight side-lanes wrote its slot, the sign bit set where one did;
// per lane, which of the last batch's lanes holds the row its bounds follow,
// the sign bit set where one does. The followed lanes to read: a lane's own
// where it is taken from the registers, so the reads never wait for the
// last batch's stores. The slots in pairs (lane k's body 1 and body 2),
// to store and to read (a spare slot where taken from the registers). Last,
// whether any lane reads the multiplier its bounds follow from memory.
constexpr std::size_t BatchForwardSlot = 12;
constexpr std::size_t BatchForwardFollowed = 20;
constexpr std::size_t BatchReadFollowed = 24;
constexpr std::size_t BatchSlotPairs = 28;
constexpr std::size_t BatchReadSlotPairs = 36;
constexpr std::size_t BatchReadsFollowed = 44;
constexpr std::size_t BatchIndices = 48;
constexpr std::int32_t Forwarded = std::numeric_limits<std::int32_t>::min();

bool IsPositiveZero(float value)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits == 0;
}
} // namespace

void ConstraintSolver::Schedule()
{
    const std::uint32_t rows = rowCount_;
    // The order to keep: each body's rows one after another, and a row whose
    // bounds follow another row after it when it follows it in storage, or
    // before it otherwise. Each row counts the rows it waits for.
    lastRow_.assign(bodyCapacity_, -1);
    nextRow_.assign(2 * std::size_t{rows}, -1);
    waiting_.assign(rows, 0);
    followers_.assign(rows, -1);
    nextFollower_.resize(rows);
    for (std::uint32_t i = 0; i < rows; ++i)
    {
        const std::int32_t s1 = rowSlots_[2 * i];
        const std::int32_t s2 = rowSlots_[2 * i + 1];
        for (const std::int32_t slot : {s1, s2})
        {
            if (slot < 0)
            {
                continue;
            }
            const std::int32_t previous = lastRow_[slot];
            if (previous >= 0)
            {
                nextRow_[2 * previous + (rowSlots_[2 * previous] == slot ? 0 : 1)] =
                    static_cast<std::int32_t>(i);
                ++waiting_[i];
            }
            lastRow_[slot] = static_cast<std::int32_t>(i);
        }
        const std::int32_t link = records_[i].linkedRow;
        if (link >= 0 && static_cast<std::uint32_t>(link) < i)
        {
            nextFollower_[i] = followers_[link];
            followers_[link] = static_cast<std::int32_t>(i);
            ++waiting_[i];
        }
        else if (link >= 0 && static_cast<std::uint32_t>(link) > i)
        {
            ++waiting_[link];
        }
    }

    // Each row's height: the longest run of rows that must follow it. The
    // tallest ready rows go first, so the longest chains start early and
    // the batches stay full.
    height_.resize(rows);
    for (std::uint32_t i = rows; i-- > 0;)
    {
        std::uint32_t height = 0;
        for (std::uint32_t side = 0; side < 2; ++side)
        {
            const std::int32_t next = nextRow_[2 * i + side];
            if (next >= 0)
            {
                height = std::max(height, height_[next]);
            }
        }
        const std::int32_t link = records_[i].linkedRow;
        if (link >= 0 && static_cast<std::uint32_t>(link) > i)
        {
            height = std::max(height, height_[link]);
        }
        for (std::int32_t follower = followers_[i]; follower >= 0; follower = nextFollower_[follower])
        {
            height = std::max(height, height_[follower]);
        }
        height_[i] = height + 1;
    }

    // Ready rows by height, then storage order: each row's rank in that
    // order (a counting sort by height keeps storage order within a
    // height), and the ready rows as a set of ranks, two levels of bits,
    // taken lowest first.
    std::uint32_t tallest = 0;
    for (std::uint32_t i = 0; i < rows; ++i)
    {
        tallest = std::max(tallest, height_[i]);
    }
    rankStarts_.assign(std::size_t{tallest} + 1, 0);
    for (std::uint32_t i = 0; i < rows; ++i)
    {
        ++rankStarts_[tallest - height_[i] + 1];
    }
    for (std::uint32_t k = 1; k <= tallest; ++k)
    {
        rankStarts_[k] += rankStarts_[k - 1];
    }
    rowRank_.resize(rows);
    rankRow_.resize(rows);
    for (std::uint32_t i = 0; i < rows; ++i)
    {
        const std::uint32_t rank = rankStarts_[tallest - height_[i]]++;
        rowRank_[i] = rank;
        rankRow_[rank] = i;
    }
    const std::size_t words = (std::size_t{rows} + 63) / 64;
    readyBits_.assign(words, 0);
    readySummary_.assign((words + 63) / 64, 0);
    std::uint64_t* const bits = readyBits_.data();
    std::uint64_t* const summary = readySummary_.data();
    std::uint32_t readyCount = 0;
    // Summary words before this one are empty.
    std::size_t firstSummary = 0;
    const auto makeReady = [&](std::uint32_t row)
    {
        const std::uint32_t rank = rowRank_[row];
        const std::size_t word = rank / 64;
        bits[word] |= std::uint64_t{1} << (rank % 64);
        summary[word / 64] |= std::uint64_t{1} << (word % 64);
        firstSummary = std::min(firstSummary, word / 64);
        ++readyCount;
    };
    const auto takeFirst = [&]() -> std::uint32_t
    {
        while (summary[firstSummary] == 0)
        {
            ++firstSummary;
        }
        const std::size_t word =
            64 * firstSummary + static_cast<std::size_t>(std::countr_zero(summary[firstSummary]));
        const std::uint32_t rank =
            static_cast<std::uint32_t>(64 * word) + static_cast<std::uint32_t>(std::countr_zero(bits[word]));
        bits[word] &= bits[word] - 1;
        if (bits[word] == 0)
        {
            summary[firstSummary] &= ~(std::uint64_t{1} << (word % 64));
        }
        --readyCount;
        return rankRow_[rank];
    };
    for (std::uint32_t i = 0; i < rows; ++i)
    {
        if (waiting_[i] == 0)
        {
            makeReady(i);
        }
    }
    rowLane_.resize(rows);
    std::uint32_t count = 0;
    std::uint32_t chosen[4];
    const auto release = [&](std::int32_t row)
    {
        if (--waiting_[row] == 0)
        {
            makeReady(static_cast<std::uint32_t>(row));
        }
    };
    while (readyCount > 0)
    {
        std::uint32_t lanes = 0;
        while (lanes < 4 && readyCount > 0)
        {
            const std::uint32_t row = takeFirst();
            rowLane_[row] = static_cast<std::int32_t>(4 * count + lanes);
            chosen[lanes++] = row;
        }
        // What the batch frees waits for the next one.
        for (std::uint32_t k = 0; k < lanes; ++k)
        {
            const std::uint32_t row = chosen[k];
            for (std::uint32_t side = 0; side < 2; ++side)
            {
                if (nextRow_[2 * row + side] >= 0)
                {
                    release(nextRow_[2 * row + side]);
                }
            }
            const std::int32_t link = records_[row].linkedRow;
            if (link >= 0 && static_cast<std::uint32_t>(link) > row)
            {
                release(link);
            }
            for (std::int32_t follower = followers_[row]; follower >= 0; follower = nextFollower_[follower])
            {
                release(follower);
            }
        }
        ++count;
    }
    batchCount_ = count;

    scheduledLinks_.resize(rows);
    for (std::uint32_t i = 0; i < rows; ++i)
    {
        scheduledLinks_[i] = records_[i].linkedRow;
    }
}

bool ConstraintSolver::ScheduleBatches()
{
    const std::uint32_t rows = rowCount_;
    const std::uint32_t slots = bodyCapacity_;
    const std::uint32_t sink = 3 * bodyCapacity_;
    const float* const acc = accumulators_.data();
    // The body slot a side's updates go to, or -1 for a side the rows never
    // move.
    const auto slotOf = [&](std::uint32_t offset, bool immovable) -> std::int32_t
    {
        if (offset == sink || (immovable && IsPositiveZero(acc[offset]) && IsPositiveZero(acc[offset + 1]) &&
                               IsPositiveZero(acc[offset + 2])))
        {
            return -1;
        }
        return static_cast<std::int32_t>(offset / 3);
    };

    // Rows with the same bodies and links as the last schedule's (the
    // velocity pass after a correction pass sees the same contacts) keep it.
    rowSlots_.resize(2 * std::size_t{rows});
    bool unchanged = scheduledLinks_.size() == rows;
    for (std::uint32_t i = 0; i < rows; ++i)
    {
        const std::int32_t s1 = slotOf(accumulator1_[i], (immovable_[i] & 1) != 0);
        const std::int32_t s2 = slotOf(accumulator2_[i], (immovable_[i] & 2) != 0);
        if (s1 >= 0 && s1 == s2)
        {
            // One body on both sides: a lane would update it twice from the
            // same start.
            scheduledLinks_.clear();
            return false;
        }
        unchanged = unchanged && rowSlots_[2 * i] == s1 && rowSlots_[2 * i + 1] == s2 &&
                    scheduledLinks_[i] == records_[i].linkedRow;
        rowSlots_[2 * i] = s1;
        rowSlots_[2 * i + 1] = s2;
    }
    if (!unchanged)
    {
        Schedule();
    }
    // A batch costs about what one row costs alone, so a schedule that
    // leaves most lanes empty (a chain of joints or a stack, each row waiting
    // on the one before) is slower than the row-by-row sweep, which gives the
    // same bits. The schedule is kept for the next pass to reuse.
    if (!batchedAlways_ && 2 * std::uint64_t{batchCount_} > rows)
    {
        return false;
    }

    // Sides the rows never move, and unused lanes (j = w = b = 0), each
    // read a zero slot of their own side and lane, which a finite change
    // leaves +0: a kernel may then store every slot a batch reads, changed
    // or not, without one lane's +0 covering up another's NaN.
    const std::int32_t zeroSlot = static_cast<std::int32_t>(4 * slots);
    batchData_.assign(BatchFloats * batchCount_, 0.0f);
    batchIndex_.resize(BatchIndices * batchCount_);
    laneMultipliers_.assign(4 * std::size_t{batchCount_}, 0.0f);
    for (std::uint32_t b = 0; b < batchCount_; ++b)
    {
        std::int32_t* index = &batchIndex_[BatchIndices * b];
        for (std::int32_t lane = 0; lane < 4; ++lane)
        {
            index[lane] = zeroSlot + 4 * lane;
            index[4 + lane] = zeroSlot + 4 * (4 + lane);
            index[8 + lane] = static_cast<std::int32_t>(4 * b) + lane;
        }
    }
    const float* const lambda = multipliers_[positionCorrectionPhase_ ? 1 : 0].data();
    float allBits = 0.0f;
    const std::uint32_t ones = ~0u;
    std::memcpy(&allBits, &ones, sizeof allBits);
    for (std::uint32_t i = 0; i < rows; ++i)
    {
        const std::int32_t position = rowLane_[i];
        const std::size_t batch = static_cast<std::size_t>(position / 4);
        const std::size_t lane = static_cast<std::size_t>(position % 4);
        float* data = &batchData_[BatchFloats * batch];
        const float* j = &jacobian_[6 * std::size_t{i}];
        const float* w = &weighted_[6 * std::size_t{i}];
        for (std::size_t k = 0; k < 6; ++k)
        {
            data[BatchJ + BatchRowEntry(k) + lane] = j[k];
            data[BatchW + BatchRowEntry(k) + lane] = w[k];
        }
        data[BatchB + lane] = rhs_[i];
        data[BatchT + lane] = scratch_[i];
        data[BatchCoefficient + lane] = records_[i].coefficient;
        data[BatchLower + lane] = lower_[i];
        data[BatchUpper + lane] = upper_[i];
        const std::int32_t link = records_[i].linkedRow;
        data[BatchLinked + lane] = link >= 0 ? allBits : 0.0f;
        std::int32_t* index = &batchIndex_[BatchIndices * batch];
        const std::int32_t s1 = rowSlots_[2 * i];
        const std::int32_t s2 = rowSlots_[2 * i + 1];
        index[lane] = s1 >= 0 ? 4 * s1 : zeroSlot + 4 * static_cast<std::int32_t>(lane);
        index[4 + lane] = s2 >= 0 ? 4 * s2 : zeroSlot + 4 * (4 + static_cast<std::int32_t>(lane));
        index[8 + lane] = link >= 0 ? rowLane_[link] : position;
        laneMultipliers_[static_cast<std::size_t>(position)] = lambda[i];
    }

    // Which slots and followed rows the batch before wrote.
    const std::int32_t spareSlot = zeroSlot + 4 * 8;
    lastWriter_.assign(std::size_t{slots} + 8, -1);
    for (std::uint32_t b = 0; b < batchCount_; ++b)
    {
        std::int32_t* index = &batchIndex_[BatchIndices * b];
        const std::int32_t previous = static_cast<std::int32_t>(b) - 1;
        index[BatchReadsFollowed] = 0;
        for (std::int32_t e = 0; e < 8; ++e)
        {
            const std::int32_t slot = index[BatchSlots + e];
            const std::int32_t writer = lastWriter_[slot / 4];
            const bool forwarded = writer >= 0 && writer / 8 == previous;
            index[BatchForwardSlot + e] = forwarded ? Forwarded | writer % 8 : e;
            const std::int32_t pair = 2 * (e % 4) + e / 4;
            index[BatchSlotPairs + pair] = slot;
            index[BatchReadSlotPairs + pair] = forwarded ? spareSlot : slot;
        }
        for (std::int32_t e = 0; e < 8; ++e)
        {
            lastWriter_[index[BatchSlots + e] / 4] = 8 * static_cast<std::int32_t>(b) + e;
        }
        for (std::int32_t lane = 0; lane < 4; ++lane)
        {
            const std::int32_t followed = index[BatchFollowed + lane];
            const bool forwarded = followed / 4 == previous;
            index[BatchForwardFollowed + lane] = forwarded ? Forwarded | followed % 4 : lane;
            index[BatchReadFollowed + lane] = forwarded ? static_cast<std::int32_t>(4 * b) + lane : followed;
            // Also a row whose bounds follow itself: its own multiplier is
            // in memory, not among the last batch's.
            const bool linked = !IsPositiveZero(
                batchData_[BatchFloats * std::size_t{b} + BatchLinked + static_cast<std::size_t>(lane)]);
            if (!forwarded && (linked || followed != static_cast<std::int32_t>(4 * b) + lane))
            {
                index[BatchReadsFollowed] = 1;
            }
        }
    }

    // Four floats per body (x, y, angle, unused), then the zero slots and
    // a spare that is read but never written.
    laneAccumulators_.assign(4 * (std::size_t{slots} + 9), 0.0f);
    for (std::uint32_t k = 0; k < slots; ++k)
    {
        laneAccumulators_[4 * k] = acc[3 * k];
        laneAccumulators_[4 * k + 1] = acc[3 * k + 1];
        laneAccumulators_[4 * k + 2] = acc[3 * k + 2];
    }
    return true;
}

#if defined(__SSE2__)
namespace
{
// `mask` ? b : a, lane by lane, for masks of all ones or all zeros.
[[gnu::always_inline]] inline __m128 SelectBits(__m128 a, __m128 b, __m128 mask)
{
    return _mm_or_ps(_mm_and_ps(mask, b), _mm_andnot_ps(mask, a));
}

// The lanes' clamping as the row-by-row test finds it: below the lower bound
// first, then above the upper one. The lanes take the clamping they took in
// the last sweep (`guess`: below and above as masks, `code`: as bits), and
// the test only confirms it: a row's clamping seldom changes from one sweep
// to the next, and a confirmed guess keeps the comparisons out of the chain
// of updates that runs from batch to batch.
[[gnu::always_inline]] inline void GuessClamping(float* const guess, int& code, __m128 next, __m128 lower,
                                                 __m128 upper, __m128& below, __m128& above)
{
    below = _mm_load_ps(guess);
    above = _mm_load_ps(guess + 4);
    const __m128 belowFound = _mm_cmplt_ps(next, lower);
    const __m128 aboveFound = _mm_andnot_ps(belowFound, _mm_cmpgt_ps(next, upper));
    const int found = _mm_movemask_ps(belowFound) | (_mm_movemask_ps(aboveFound) << 4);
    if (found != code)
    {
        code = found;
        below = belowFound;
        above = aboveFound;
        _mm_store_ps(guess, below);
        _mm_store_ps(guess + 4, above);
    }
}

// One sweep over the packed batches. The slots' fourth floats are not used.
// With KeepBounds the bounds that follow another row are stored, as the
// row-by-row sweep leaves them.
template <bool KeepBounds>
[[gnu::always_inline]] inline void
SweepPackedBody(std::uint32_t batches, float* const data, const std::int32_t* const indices,
                float* const lanes, float* const slots, float* const guesses, int* const guessCodes)
{
    const __m128 zero = _mm_setzero_ps();
    const __m128 sign = _mm_set1_ps(-0.0f);
    for (std::uint32_t batch = 0; batch < batches; ++batch)
    {
        const float* d = data + BatchFloats * batch;
        const std::int32_t* index = indices + BatchIndices * batch;
        __m128 a1x = _mm_load_ps(slots + index[0]);
        __m128 a1y = _mm_load_ps(slots + index[1]);
        __m128 a1w = _mm_load_ps(slots + index[2]);
        __m128 a1p = _mm_load_ps(slots + index[3]);
        _MM_TRANSPOSE4_PS(a1x, a1y, a1w, a1p);
        __m128 a2x = _mm_load_ps(slots + index[4]);
        __m128 a2y = _mm_load_ps(slots + index[5]);
        __m128 a2w = _mm_load_ps(slots + index[6]);
        __m128 a2p = _mm_load_ps(slots + index[7]);
        _MM_TRANSPOSE4_PS(a2x, a2y, a2w, a2p);

        __m128 dot = zero;
        dot = _mm_add_ps(dot, _mm_mul_ps(_mm_load_ps(d + BatchJ + BatchRowEntry(0)), a1x));
        dot = _mm_add_ps(dot, _mm_mul_ps(_mm_load_ps(d + BatchJ + BatchRowEntry(1)), a1y));
        dot = _mm_add_ps(dot, _mm_mul_ps(_mm_load_ps(d + BatchJ + BatchRowEntry(2)), a1w));
        dot = _mm_add_ps(dot, _mm_mul_ps(_mm_load_ps(d + BatchJ + BatchRowEntry(3)), a2x));
        dot = _mm_add_ps(dot, _mm_mul_ps(_mm_load_ps(d + BatchJ + BatchRowEntry(4)), a2y));
        dot = _mm_add_ps(dot, _mm_mul_ps(_mm_load_ps(d + BatchJ + BatchRowEntry(5)), a2w));
        float* const lambda = lanes + 4 * std::size_t{batch};
        const __m128 old = _mm_load_ps(lambda);
        __m128 delta =
            _mm_sub_ps(_mm_sub_ps(_mm_load_ps(d + BatchB), _mm_mul_ps(old, _mm_load_ps(d + BatchT))), dot);

        // Bounds that follow another row's multiplier: +-coefficient x it.
        const __m128 linked = _mm_load_ps(d + BatchLinked);
        const __m128 followed =
            _mm_set_ps(lanes[index[11]], lanes[index[10]], lanes[index[9]], lanes[index[8]]);
        const __m128 upperLinked = _mm_mul_ps(followed, _mm_load_ps(d + BatchCoefficient));
        const __m128 lowerLinked = _mm_xor_ps(upperLinked, sign);
        const __m128 upper = SelectBits(_mm_load_ps(d + BatchUpper), upperLinked, linked);
        const __m128 lower = SelectBits(_mm_load_ps(d + BatchLower), lowerLinked, linked);
        if (KeepBounds)
        {
            _mm_store_ps(data + BatchFloats * batch + BatchUpper, upper);
            _mm_store_ps(data + BatchFloats * batch + BatchLower, lower);
        }

        // A clamped row moves by bound - old.
        const __m128 next = _mm_add_ps(old, delta);
        __m128 below;
        __m128 above;
        GuessClamping(guesses + 8 * std::size_t{batch}, guessCodes[batch], next, lower, upper, below, above);
        const __m128 clamped = _mm_or_ps(below, above);
        const __m128 bound = SelectBits(upper, lower, below);
        const __m128 moved = _mm_sub_ps(bound, old);
        _mm_store_ps(lambda, SelectBits(next, bound, clamped));
        delta = SelectBits(delta, moved, clamped);

        // A lane stores only a slot whose bits change: a row that stays
        // at its bound adds +-0, and skipping that store keeps the next
        // rows of its bodies from waiting for it.
        const auto same = [](__m128 a, __m128 b)
        { return _mm_castsi128_ps(_mm_cmpeq_epi32(_mm_castps_si128(a), _mm_castps_si128(b))); };
        __m128 n1x = _mm_add_ps(a1x, _mm_mul_ps(_mm_load_ps(d + BatchW + BatchRowEntry(0)), delta));
        __m128 n1y = _mm_add_ps(a1y, _mm_mul_ps(_mm_load_ps(d + BatchW + BatchRowEntry(1)), delta));
        __m128 n1w = _mm_add_ps(a1w, _mm_mul_ps(_mm_load_ps(d + BatchW + BatchRowEntry(2)), delta));
        const int kept1 =
            _mm_movemask_ps(_mm_and_ps(_mm_and_ps(same(n1x, a1x), same(n1y, a1y)), same(n1w, a1w)));
        __m128 n2x = _mm_add_ps(a2x, _mm_mul_ps(_mm_load_ps(d + BatchW + BatchRowEntry(3)), delta));
        __m128 n2y = _mm_add_ps(a2y, _mm_mul_ps(_mm_load_ps(d + BatchW + BatchRowEntry(4)), delta));
        __m128 n2w = _mm_add_ps(a2w, _mm_mul_ps(_mm_load_ps(d + BatchW + BatchRowEntry(5)), delta));
        const int kept2 =
            _mm_movemask_ps(_mm_and_ps(_mm_and_ps(same(n2x, a2x), same(n2y, a2y)), same(n2w, a2w)));
        if (kept1 != 0xF)
        {
            __m128 p1 = zero;
            _MM_TRANSPOSE4_PS(n1x, n1y, n1w, p1);
            if ((kept1 & 1) == 0)
            {
                _mm_store_ps(slots + index[0], n1x);
            }
            if ((kept1 & 2) == 0)
            {
                _mm_store_ps(slots + index[1], n1y);
            }
            if ((kept1 & 4) == 0)
            {
                _mm_store_ps(slots + index[2], n1w);
            }
            if ((kept1 & 8) == 0)
            {
                _mm_store_ps(slots + index[3], p1);
            }
        }
        if (kept2 != 0xF)
        {
            __m128 p2 = zero;
            _MM_TRANSPOSE4_PS(n2x, n2y, n2w, p2);
            if ((kept2 & 1) == 0)
            {
                _mm_store_ps(slots + index[4], n2x);
            }
            if ((kept2 & 2) == 0)
            {
                _mm_store_ps(slots + index[5], n2y);
            }
            if ((kept2 & 4) == 0)
            {
                _mm_store_ps(slots + index[6], n2w);
            }
            if ((kept2 & 8) == 0)
            {
                _mm_store_ps(slots + index[7], p2);
            }
        }
    }
}

template <bool KeepBounds>
void SweepPackedBaseline(std::uint32_t batches, float* const data, const std::int32_t* const indices,
                         float* const lanes, float* const slots, float* const guesses, int* const guessCodes)
{
    SweepPackedBody<KeepBounds>(batches, data, indices, lanes, slots, guesses, guessCodes);
}

// The same operations in the three-operand encoding, which needs fewer
// register copies; chosen at run time where the processor has it.
template <bool KeepBounds>
[[gnu::target("avx")]] void SweepPackedAvx(std::uint32_t batches, float* const data,
                                           const std::int32_t* const indices, float* const lanes,
                                           float* const slots, float* const guesses, int* const guessCodes)
{
    SweepPackedBody<KeepBounds>(batches, data, indices, lanes, slots, guesses, guessCodes);
}

// The two slots whose offsets are at `pair`, one 64-bit read for both.
[[gnu::target("avx2"), gnu::always_inline]] inline __m256 Pair(const float* slots, const std::int32_t* pair)
{
    std::uint64_t offsets = 0;
    std::memcpy(&offsets, pair, sizeof offsets);
    return _mm256_insertf128_ps(
        _mm256_castps128_ps256(_mm_load_ps(slots + static_cast<std::uint32_t>(offsets))),
        _mm_load_ps(slots + (offsets >> 32)), 1);
}

// Stores the two halves to the slots whose offsets are at `pair`.
[[gnu::target("avx2"), gnu::always_inline]] inline void StorePair(float* slots, const std::int32_t* pair,
                                                                  __m256 value)
{
    std::uint64_t offsets = 0;
    std::memcpy(&offsets, pair, sizeof offsets);
    _mm_store_ps(slots + static_cast<std::uint32_t>(offsets), _mm256_castps256_ps128(value));
    _mm_store_ps(slots + (offsets >> 32), _mm256_extractf128_ps(value, 1));
}

// b where the mask's lanes are set (all bits), a elsewhere. In assembly, as
// the compiler would otherwise test the masks' signs again first.
[[gnu::target("avx2"), gnu::always_inline]] inline __m128 Select(__m128 a, __m128 b, __m128 mask)
{
    __m128 selected;
    asm("vblendvps %3, %2, %1, %0" : "=x"(selected) : "x"(a), "x"(b), "x"(mask));
    return selected;
}

[[gnu::target("avx2"), gnu::always_inline]] inline __m256 Select(__m256 a, __m256 b, __m256 mask)
{
    __m256 selected;
    asm("vblendvps %3, %2, %1, %0" : "=x"(selected) : "x"(a), "x"(b), "x"(mask));
    return selected;
}

// The same operations with both bodies' halves of a batch side by side in
// 256-bit registers. The last batch's new accumulators stay in registers, and
// the slots it wrote are taken from them (a permute) rather than from memory,
// which keeps the store, the reload and both transposes out of the chain of
// updates that runs from batch to batch; so are the multipliers its rows'
// bounds follow. The stores still happen, for the batches further on.
template <bool KeepBounds>
[[gnu::target("avx2")]] void SweepPackedAvx2(std::uint32_t batches, float* const data,
                                             const std::int32_t* const indices, float* const lanes,
                                             float* const slots, float* const guesses, int* const guessCodes)
{
    const __m128 zero = _mm_setzero_ps();
    const __m256 zero8 = _mm256_setzero_ps();
    const __m128 sign = _mm_set1_ps(-0.0f);
    __m256 lastX = zero8;
    __m256 lastY = zero8;
    __m256 lastW = zero8;
    __m128 lastLambda = zero;
    for (std::uint32_t batch = 0; batch < batches; ++batch)
    {
        const float* d = data + BatchFloats * batch;
        const std::int32_t* index = indices + BatchIndices * batch;
        // Lane k's body 1 slot in the low half, its body 2 slot in the high.
        const __m256 r0 = Pair(slots, index + BatchReadSlotPairs + 0);
        const __m256 r1 = Pair(slots, index + BatchReadSlotPairs + 2);
        const __m256 r2 = Pair(slots, index + BatchReadSlotPairs + 4);
        const __m256 r3 = Pair(slots, index + BatchReadSlotPairs + 6);
        const __m256 t0 = _mm256_unpacklo_ps(r0, r1);
        const __m256 t1 = _mm256_unpacklo_ps(r2, r3);
        const __m256 t2 = _mm256_unpackhi_ps(r0, r1);
        const __m256 t3 = _mm256_unpackhi_ps(r2, r3);
        const __m256i forward =
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(index + BatchForwardSlot));
        const __m256 forwarded = _mm256_castsi256_ps(forward);
        const __m256 ax =
            Select(_mm256_shuffle_ps(t0, t1, 0x44), _mm256_permutevar8x32_ps(lastX, forward), forwarded);
        const __m256 ay =
            Select(_mm256_shuffle_ps(t0, t1, 0xEE), _mm256_permutevar8x32_ps(lastY, forward), forwarded);
        const __m256 aw =
            Select(_mm256_shuffle_ps(t2, t3, 0x44), _mm256_permutevar8x32_ps(lastW, forward), forwarded);

        const __m256 px = _mm256_mul_ps(_mm256_loadu_ps(d + BatchJ + 0), ax);
        const __m256 py = _mm256_mul_ps(_mm256_loadu_ps(d + BatchJ + 8), ay);
        const __m256 pw = _mm256_mul_ps(_mm256_loadu_ps(d + BatchJ + 16), aw);
        // The row's dot product is 0 + p0 + ... + p5, added in turn. The
        // leading 0 + only turns a -0 partial into +0, and a partial is zero
        // only while every term so far is, so it is s + 0 for s = p0 + ...
        // + p5. The change is then c - s, or c - (+0) = c where s is zero:
        // one add less in the chain from batch to batch.
        __m128 dot = _mm256_castps256_ps128(px);
        dot = _mm_add_ps(dot, _mm256_castps256_ps128(py));
        dot = _mm_add_ps(dot, _mm256_castps256_ps128(pw));
        dot = _mm_add_ps(dot, _mm256_extractf128_ps(px, 1));
        dot = _mm_add_ps(dot, _mm256_extractf128_ps(py, 1));
        dot = _mm_add_ps(dot, _mm256_extractf128_ps(pw, 1));
        float* const lambda = lanes + 4 * std::size_t{batch};
        const __m128 old = _mm_load_ps(lambda);
        const __m128 c = _mm_sub_ps(_mm_load_ps(d + BatchB), _mm_mul_ps(old, _mm_load_ps(d + BatchT)));
        __m128 delta = Select(_mm_sub_ps(c, dot), c, _mm_cmpeq_ps(dot, zero));

        // Bounds that follow another row's multiplier: +-coefficient x it.
        const __m128 linked = _mm_load_ps(d + BatchLinked);
        // Lanes whose bounds follow no row take any value.
        const __m128i forwardFollowed =
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(index + BatchForwardFollowed));
        __m128 followed = _mm_permutevar_ps(lastLambda, forwardFollowed);
        if (index[BatchReadsFollowed] != 0)
        {
            const std::int32_t* followedLane = index + BatchReadFollowed;
            followed = Select(_mm_set_ps(lanes[followedLane[3]], lanes[followedLane[2]],
                                         lanes[followedLane[1]], lanes[followedLane[0]]),
                              followed, _mm_castsi128_ps(forwardFollowed));
        }
        const __m128 upperLinked = _mm_mul_ps(followed, _mm_load_ps(d + BatchCoefficient));
        const __m128 lowerLinked = _mm_xor_ps(upperLinked, sign);
        const __m128 upper = Select(_mm_load_ps(d + BatchUpper), upperLinked, linked);
        const __m128 lower = Select(_mm_load_ps(d + BatchLower), lowerLinked, linked);
        if (KeepBounds)
        {
            _mm_store_ps(data + BatchFloats * batch + BatchUpper, upper);
            _mm_store_ps(data + BatchFloats * batch + BatchLower, lower);
        }

        const __m128 next = _mm_add_ps(old, delta);
        __m128 below;
        __m128 above;
        GuessClamping(guesses + 8 * std::size_t{batch}, guessCodes[batch], next, lower, upper, below, above);
        const __m128 clamped = _mm_or_ps(below, above);
        const __m128 bound = Select(upper, lower, below);
        const __m128 moved = _mm_sub_ps(bound, old);
        const __m128 result = Select(next, bound, clamped);
        _mm_store_ps(lambda, result);
        lastLambda = result;
        delta = Select(delta, moved, clamped);

        const __m256 delta8 = _mm256_insertf128_ps(_mm256_castps128_ps256(delta), delta, 1);
        const __m256 nx = _mm256_add_ps(ax, _mm256_mul_ps(_mm256_loadu_ps(d + BatchW + 0), delta8));
        const __m256 ny = _mm256_add_ps(ay, _mm256_mul_ps(_mm256_loadu_ps(d + BatchW + 8), delta8));
        const __m256 nw = _mm256_add_ps(aw, _mm256_mul_ps(_mm256_loadu_ps(d + BatchW + 16), delta8));
        lastX = nx;
        lastY = ny;
        lastW = nw;
        // Every slot is stored, changed or not: the next batch takes what
        // it needs from the registers, and those further on seldom wait.
        // The slots' fourth floats are read by no one; this kernel leaves
        // the angle there too.
        const __m256 u0 = _mm256_unpacklo_ps(nx, ny);
        const __m256 u1 = _mm256_unpackhi_ps(nx, ny);
        const __m256 s0 = _mm256_shuffle_ps(u0, nw, _MM_SHUFFLE(0, 0, 1, 0));
        const __m256 s1 = _mm256_shuffle_ps(u0, nw, _MM_SHUFFLE(1, 1, 3, 2));
        const __m256 s2 = _mm256_shuffle_ps(u1, nw, _MM_SHUFFLE(2, 2, 1, 0));
        const __m256 s3 = _mm256_shuffle_ps(u1, nw, _MM_SHUFFLE(3, 3, 3, 2));
        StorePair(slots, index + BatchSlotPairs + 0, s0);
        StorePair(slots, index + BatchSlotPairs + 2, s1);
        StorePair(slots, index + BatchSlotPairs + 4, s2);
        StorePair(slots, index + BatchSlotPairs + 6, s3);
    }
}

std::atomic<int> sweepKernelLimit{static_cast<int>(ConstraintSolver::SweepKernel::Avx2)};

template <bool KeepBounds>
void SweepPacked(std::uint32_t batches, float* const data, const std::int32_t* const indices,
                 float* const lanes, float* const slots, float* const guesses, int* const guessCodes)
{
    static const bool avx2 = __builtin_cpu_supports("avx2");
    static const bool avx = __builtin_cpu_supports("avx");
    const int limit = sweepKernelLimit.load(std::memory_order_relaxed);
    if (avx2 && limit >= static_cast<int>(ConstraintSolver::SweepKernel::Avx2))
    {
        SweepPackedAvx2<KeepBounds>(batches, data, indices, lanes, slots, guesses, guessCodes);
    }
    else if (avx && limit >= static_cast<int>(ConstraintSolver::SweepKernel::Avx))
    {
        SweepPackedAvx<KeepBounds>(batches, data, indices, lanes, slots, guesses, guessCodes);
    }
    else
    {
        SweepPackedBaseline<KeepBounds>(batches, data, indices, lanes, slots, guesses, guessCodes);
    }
}
} // namespace
#endif

void ConstraintSolver::LimitSweepKernel(SweepKernel most)
{
#if defined(__SSE2__)
    sweepKernelLimit.store(static_cast<int>(most), std::memory_order_relaxed);
#else
    static_cast<void>(most);
#endif
}

bool ConstraintSolver::SweepBatches(std::uint32_t sweeps)
{
#if defined(__SSE2__)
    if (!ScheduleBatches())
    {
        return false;
    }
    const std::uint32_t batches = batchCount_;
    float* const lanes = laneMultipliers_.data();
    float* const slots = laneAccumulators_.data();
    // Per batch: each lane's last clamping below and above (as masks), and
    // the two as bits (below 0-3, above 4-7). No lane is clamped at first.
    laneClamps_.assign(8 * std::size_t{batches}, 0.0f);
    clampCodes_.assign(batches, 0);
    for (std::uint32_t sweep = 1; sweep < sweeps; ++sweep)
    {
        SweepPacked<false>(batches, batchData_.data(), batchIndex_.data(), lanes, slots, laneClamps_.data(),
                           clampCodes_.data());
    }
    SweepPacked<true>(batches, batchData_.data(), batchIndex_.data(), lanes, slots, laneClamps_.data(),
                      clampCodes_.data());
    // Sides the rows never move read the zero slots, and a finite change
    // leaves them +0; one that is not makes one NaN for good.
    const float* const zeroSlots = slots + 4 * std::size_t{bodyCapacity_};
    for (std::size_t k = 0; k < 4 * 8; ++k)
    {
        if (k % 4 != 3 && !IsPositiveZero(zeroSlots[k]))
        {
            return false;
        }
    }

    const std::uint32_t rows = rowCount_;
    float* const lambda = multipliers_[positionCorrectionPhase_ ? 1 : 0].data();
    for (std::uint32_t i = 0; i < rows; ++i)
    {
        const std::size_t position = static_cast<std::size_t>(rowLane_[i]);
        lambda[i] = lanes[position];
        if (records_[i].linkedRow >= 0)
        {
            const std::size_t base = BatchFloats * (position / 4) + position % 4;
            upper_[i] = batchData_[base + BatchUpper];
            lower_[i] = batchData_[base + BatchLower];
        }
    }
    float* const acc = accumulators_.data();
    for (std::uint32_t k = 0; k < bodyCapacity_; ++k)
    {
        acc[3 * k] = slots[4 * k];
        acc[3 * k + 1] = slots[4 * k + 1];
        acc[3 * k + 2] = slots[4 * k + 2];
    }
    return true;
#else
    static_cast<void>(sweeps);
    return false;
#endif
}

void ConstraintSolver::SweepRows(std::uint32_t sweeps)
{
    const std::uint32_t rows = rowCount_;
    float* const acc = accumulators_.data();
    const float* const J = jacobian_.data();
    const float* const B = weighted_.data();
    float* const lambda = multipliers_[positionCorrectionPhase_ ? 1 : 0].data();
    const float* const b = rhs_.data();
    const float* const t = scratch_.data();
    const RowRecord* const records = records_.data();
    const std::uint32_t* const offset1 = accumulator1_.data();
    const std::uint32_t* const offset2 = accumulator2_.data();
    float* const lower = lower_.data();
    float* const upper = upper_.data();
    for (std::uint32_t sweep = 0; sweep < sweeps; ++sweep)
    {
        for (std::uint32_t i = 0; i < rows; ++i)
        {
            const float* j = J + 6 * std::size_t{i};
            const float* w = B + 6 * std::size_t{i};
            float* a1 = acc + offset1[i];
            float* a2 = acc + offset2[i];
            float dot = 0.0f;
            dot += j[0] * a1[0];
            dot += j[1] * a1[1];
            dot += j[2] * a1[2];
            dot += j[3] * a2[0];
            dot += j[4] * a2[1];
            dot += j[5] * a2[2];
            float delta = (b[i] - lambda[i] * t[i]) - dot;

            const std::int32_t link = records[i].linkedRow;
            if (link >= 0)
            {
                upper[i] = lambda[link] * records[i].coefficient;
                lower[i] = -upper[i];
            }
            const float old = lambda[i];
            const float next = old + delta;
            if (lower[i] > next)
            {
                lambda[i] = lower[i];
                delta = lower[i] - old;
            }
            else if (next > upper[i])
            {
                lambda[i] = upper[i];
                delta = upper[i] - old;
            }
            else
            {
                lambda[i] = next;
            }

            a1[0] += w[0] * delta;
            a1[1] += w[1] * delta;
            a1[2] += w[2] * delta;
            a2[0] += w[3] * delta;
            a2[1] += w[4] * delta;
            a2[2] += w[5] * delta;
        }
    }
}

void ConstraintSolver::WriteSettings(Core::File& file) const
{
    file << settings_.iterations << settings_.warmStart << settings_.relaxation;
}

bool ConstraintSolver::ReadSettings(Core::File& file, Settings& settings)
{
    Settings read;
    file >> read.iterations >> read.warmStart >> read.relaxation;
    if (file.Failed())
    {
        return false;
    }
    settings = read;
    return true;
}

} // namespace Physics2D

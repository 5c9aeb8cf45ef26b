#include "collision/Collision_SweptFeatures.h"

#include "math/Math_ClassifyResult.h"
#include "math/Math_LineSegment2D.h"
#include "math/Math_Ray2D.h"

#include <cmath>

namespace Collision2D::Swept
{

namespace
{

using Math::Circle2D;
using Math::ClassifyResult;
using Math::LineSegment2D;
using Math::Ray2D;
using Math::Vector2D;

// A contact at fraction distance / length of the sub-step (at most 1).
void SetMoving(FeatureContact& c, float distance, float length, const Vector2D& point, const Vector2D& normal)
{
    const float reached = distance < length ? distance : length;
    c.fraction = reached / length;
    c.distance = reached;
    c.penetrating = false;
    c.depth = 0.0f;
    c.count = 1;
    c.point[0] = point;
    c.normal[0] = normal;
}

// A contact made at the very end of the sub-step.
void SetAtEnd(FeatureContact& c, float length, const Vector2D& point, const Vector2D& normal)
{
    c.fraction = EndOfSubStep;
    c.distance = length;
    c.penetrating = false;
    c.depth = 0.0f;
    c.count = 1;
    c.point[0] = point;
    c.normal[0] = normal;
}

// A contact that already exists at the start of the sub-step.
void SetPenetrating(FeatureContact& c, float depth, const Vector2D& point, const Vector2D& normal)
{
    c.fraction = 0.0f;
    c.distance = 0.0f;
    c.penetrating = true;
    c.depth = depth;
    c.count = 1;
    c.point[0] = point;
    c.normal[0] = normal;
}

// Earlier wins; of two contacts of the same moment the shallower.
bool Better(const FeatureContact& a, const FeatureContact& b)
{
    if (a.fraction != b.fraction)
    {
        return a.fraction < b.fraction;
    }
    return a.depth < b.depth;
}

float NotNegative(float value)
{
    return value > 0.0f ? value : 0.0f;
}

// Distance from `origin` along the unit `direction` to the line through
// `onLine` with unit normal `normal`, for a ray known to meet that line.
// Taken from the line's own point rather than the computed crossing, so
// rounding along the line (which can be large for long segments) does not
// make a touching point look a hair away.
float DistanceAlong(const Vector2D& origin, const Vector2D& direction, const Vector2D& onLine,
                    const Vector2D& normal)
{
    const float across = direction.Dot(normal);
    if (across == 0.0f)
    {
        return 0.0f;
    }
    return NotNegative((onLine - origin).Dot(normal) / across);
}

// Rounding can leave a feature that reaches the other shape exactly at the
// end of one sub-step a hair beyond its chord, and a hair inside the shape
// at the start of the next, where a thickness of 0 refuses it: the shapes
// would pass through each other. So a moving feature's hit up to the math
// tolerance beyond its chord is a contact at the end of the sub-step, and a
// moving feature that starts at most that deep inside has just touched: a
// contact at the start of the sub-step, whatever the threshold.
constexpr float Touching = Math::Tolerance;

bool WithinChord(float distance, const Chord& chord)
{
    return distance <= chord.length + Touching;
}

bool JustTouching(const Chord& chord, float depth)
{
    return !chord.still && depth <= Touching;
}

// ---------------------------------------------------------------------------
// Segment against circle.

// The foot F of the perpendicular from the circle's centre lies inside the
// segment and the circle reaches over the segment's line: the face crossed
// into the circle. F is followed back along its chord to where it entered.
bool FaceIntoCircle(const SubStep& step, const Chord& chord, const Vector2D& n, const Circle2D& circle,
                    Threshold& threshold, FeatureContact& contact)
{
    const Vector2D& foot = chord.end;
    Vector2D back;
    if (chord.still)
    {
        // A face that does not move counts as moving along its front normal.
        back = -n;
    }
    else
    {
        if (n.Dot(chord.direction) < 0.0f)
        {
            return false;
        }
        back = -chord.direction;
    }
    Vector2D entry;
    Vector2D unused;
    if (Ray2D(foot, back).IntersectCircle(circle, entry, unused) != ClassifyResult::OnePoint)
    {
        return false;
    }
    const float inside = (foot - entry).Length();
    const Vector2D normal = Unit(entry - circle.center);
    if (!chord.still && chord.length >= inside)
    {
        SetMoving(contact, chord.length - inside, chord.length, entry, normal);
    }
    else
    {
        const float depth = NotNegative((entry - foot).Dot(normal));
        if (JustTouching(chord, depth))
        {
            SetMoving(contact, 0.0f, chord.length, entry, normal);
        }
        else
        {
            if (!threshold.Accept(depth))
            {
                return false;
            }
            SetPenetrating(contact, depth, entry, normal);
        }
    }
    contact.penetration = PenetrationAtStepEnd(entry, contact.normal[0], step.CarryFromEnd(foot));
    return true;
}

// One end of the segment inside or on the circle at the end of the
// sub-step. The threshold is only asked here; the caller lowers it for the
// end it keeps.
bool EndIntoCircle(const SubStep& step, const Vector2D& end, const Vector2D& n, const Circle2D& circle,
                   const Threshold& threshold, FeatureContact& contact)
{
    const ClassifyResult where = end.ClassifyToCircle(circle);
    if (where == ClassifyResult::Outside)
    {
        return false;
    }
    const Chord chord(step.Back(end), end);
    if (!chord.still && n.Dot(chord.direction) < 0.0f)
    {
        return false;
    }
    if (where == ClassifyResult::Intersecting)
    {
        // Exactly on the circle: it arrives there at the end of the sub-step.
        const Vector2D normal = Unit(end - circle.center);
        if (chord.still)
        {
            if (!threshold.Admits(0.0f))
            {
                return false;
            }
            SetPenetrating(contact, 0.0f, end, normal);
        }
        else
        {
            SetAtEnd(contact, chord.length, end, normal);
        }
    }
    else
    {
        const Vector2D back = chord.still ? -n : -chord.direction;
        Vector2D entry;
        Vector2D unused;
        if (Ray2D(end, back).IntersectCircle(circle, entry, unused) != ClassifyResult::OnePoint)
        {
            return false;
        }
        const float inside = (end - entry).Length();
        const Vector2D normal = Unit(entry - circle.center);
        if (!chord.still && chord.length >= inside)
        {
            // Distance from the start point forward to the entry point.
            SetMoving(contact, chord.length - inside, chord.length, entry, normal);
        }
        else
        {
            // Already inside at the start of the sub-step.
            const float depth = NotNegative((entry - end).Dot(normal));
            if (JustTouching(chord, depth))
            {
                SetMoving(contact, 0.0f, chord.length, entry, normal);
            }
            else
            {
                if (!threshold.Admits(depth))
                {
                    return false;
                }
                SetPenetrating(contact, depth, entry, normal);
            }
        }
    }
    contact.penetration = PenetrationAtStepEnd(contact.point[0], contact.normal[0], step.CarryFromEnd(end));
    return true;
}

// ---------------------------------------------------------------------------
// Circle against segment.

// One end G of the segment against the moving circle: relative to the
// circle, G moves along -m, so a ray from G along -m meets the circle at its
// start place where the two first touch.
bool SegmentEndIntoCircle(const SubStep& step, const Vector2D& end, const Circle2D& atStart,
                          const Circle2D& atEnd, const Chord& chord, const Threshold& threshold,
                          FeatureContact& contact)
{
    const float r = atStart.radius;
    const ClassifyResult where = end.ClassifyToCircle(atStart);
    if (where == ClassifyResult::Inside || (where == ClassifyResult::Intersecting && chord.still))
    {
        // Already inside: the depth is the way G came in along the motion,
        // or the shortest way out for a circle that does not move.
        float depth = 0.0f;
        if (chord.still)
        {
            depth = NotNegative(r - (end - atStart.center).Length());
        }
        else
        {
            Vector2D exit;
            Vector2D unused;
            if (Ray2D(end, chord.direction).IntersectCircle(atStart, exit, unused) !=
                ClassifyResult::OnePoint)
            {
                return false;
            }
            depth = (exit - end).Length();
        }
        const Vector2D normal = Unit(atStart.center - end);
        if (JustTouching(chord, depth))
        {
            SetMoving(contact, 0.0f, chord.length, end, normal);
        }
        else
        {
            if (!threshold.Admits(depth))
            {
                return false;
            }
            SetPenetrating(contact, depth, end, normal);
        }
        contact.penetration =
            PenetrationAtStepEnd(end, normal, step.CarryFromStart(atStart.center) - normal * r);
        return true;
    }
    if (chord.still)
    {
        return false;
    }
    float distance = 0.0f;
    if (where == ClassifyResult::Intersecting)
    {
        // On the circle's rim: a contact only when the circle moves onto G.
        if ((end - atStart.center).Dot(chord.direction) <= 0.0f)
        {
            return false;
        }
    }
    else
    {
        Vector2D first;
        Vector2D second;
        if (Ray2D(end, -chord.direction).IntersectCircle(atStart, first, second) ==
            ClassifyResult::NoIntersection)
        {
            return false;
        }
        distance = (first - end).Length();
        if (!WithinChord(distance, chord))
        {
            return false;
        }
    }
    SetMoving(contact, distance, chord.length, end, Vector2D());
    const Vector2D centre = atStart.center + chord.direction * contact.distance;
    const Vector2D normal = Unit(centre - end);
    contact.normal[0] = normal;
    contact.penetration = PenetrationAtStepEnd(end, normal, step.CarryFromEnd(atEnd.center) - normal * r);
    return true;
}

// ---------------------------------------------------------------------------
// Segment against segment.

// True when `point`, known to lie on the segment's line, lies strictly
// between its ends.
bool StrictlyInside(const Vector2D& point, const LineSegment2D& segment)
{
    const Vector2D direction = segment.GetDirection();
    if (Math::Detail::IsZero(direction))
    {
        return false;
    }
    const float t = Math::Detail::ParameterAlong(point, segment.pointA, direction);
    return t > 0.0f && t < 1.0f;
}

// One end of the moving segment, along its chord, against the other
// segment's face (front normal nS).
bool EndAgainstSegment(const SubStep& step, const Vector2D& end, const LineSegment2D& other,
                       const Vector2D& nS, Threshold& threshold, FeatureContact& contact, bool& approaching)
{
    const Chord chord(step.Back(end), end);
    if (!chord.still)
    {
        if (nS.Dot(chord.direction) > 0.0f)
        {
            return false;
        }
        approaching = true;
    }
    Vector2D hit;
    LineSegment2D overlap;
    // Start point on or behind the face: a ray from it along the front
    // normal meets the segment.
    if (other.IntersectRay(Ray2D(chord.start, nS), hit, overlap) == ClassifyResult::Intersecting)
    {
        const float depth = DistanceAlong(chord.start, nS, other.pointA, nS);
        const Vector2D onFace = chord.start + nS * depth;
        if (JustTouching(chord, depth))
        {
            SetMoving(contact, 0.0f, chord.length, onFace, nS);
        }
        else
        {
            if (!threshold.AcceptAtMost(depth))
            {
                return false;
            }
            SetPenetrating(contact, depth, onFace, nS);
        }
        contact.penetration = PenetrationAtStepEnd(contact.point[0], nS, step.CarryFromStart(chord.start));
        return true;
    }
    if (chord.still)
    {
        return false;
    }
    switch (other.IntersectRay(Ray2D(chord.start, chord.direction), hit, overlap))
    {
    case ClassifyResult::Intersecting:
    {
        const float distance = DistanceAlong(chord.start, chord.direction, other.pointA, nS);
        if (!WithinChord(distance, chord))
        {
            return false;
        }
        SetMoving(contact, distance, chord.length, Vector2D(), nS);
        contact.point[0] = chord.start + chord.direction * contact.distance;
        break;
    }
    case ClassifyResult::Coincident:
        // Sliding along the other segment's line: touching it at the end of
        // the sub-step while it lies between the other's ends.
        if (!StrictlyInside(end, other))
        {
            return false;
        }
        SetAtEnd(contact, chord.length, end, nS);
        break;
    default:
        return false;
    }
    contact.penetration = PenetrationAtStepEnd(contact.point[0], nS, step.CarryFromEnd(end));
    return true;
}

// One end G of the other segment, which stands still, against the moving
// segment at its start place (front normal n0): relative to the moving
// segment, G runs from G to M^-1(G).
bool OtherEndAgainstSegment(const SubStep& step, const Vector2D& end, const LineSegment2D& atStart,
                            const Vector2D& n0, Threshold& threshold, FeatureContact& contact,
                            bool& approaching)
{
    const Chord chord(end, step.Back(end));
    if (!chord.still)
    {
        if (n0.Dot(chord.direction) > 0.0f)
        {
            return false;
        }
        approaching = true;
    }
    const Vector2D normal = -n0;
    Vector2D hit;
    LineSegment2D overlap;
    if (atStart.IntersectRay(Ray2D(end, n0), hit, overlap) == ClassifyResult::Intersecting)
    {
        const float depth = DistanceAlong(end, n0, atStart.pointA, n0);
        if (JustTouching(chord, depth))
        {
            SetMoving(contact, 0.0f, chord.length, end, normal);
        }
        else
        {
            if (!threshold.AcceptAtMost(depth))
            {
                return false;
            }
            SetPenetrating(contact, depth, end, normal);
        }
        contact.penetration = PenetrationAtStepEnd(end, normal, step.CarryFromStart(hit));
        return true;
    }
    if (chord.still)
    {
        return false;
    }
    switch (atStart.IntersectRay(Ray2D(end, chord.direction), hit, overlap))
    {
    case ClassifyResult::Intersecting:
    {
        const float distance = DistanceAlong(end, chord.direction, atStart.pointA, n0);
        if (!WithinChord(distance, chord))
        {
            return false;
        }
        SetMoving(contact, distance, chord.length, end, normal);
        contact.penetration = PenetrationAtStepEnd(end, normal, step.CarryFromStart(hit));
        return true;
    }
    case ClassifyResult::Coincident:
        if (!StrictlyInside(chord.end, atStart))
        {
            return false;
        }
        SetAtEnd(contact, chord.length, end, normal);
        contact.penetration = PenetrationAtStepEnd(end, normal, step.CarryFromEnd(end));
        return true;
    default:
        return false;
    }
}

// The two ends of one segment: one contact with both points when they reach
// the other segment together, else each on its own, in order.
int PairEnds(const FeatureContact (&ends)[2], const bool (&hit)[2], FeatureContact* out)
{
    if (hit[0] && hit[1] && std::fabs(ends[0].distance - ends[1].distance) <= SimultaneousDistance)
    {
        FeatureContact& both = out[0];
        both = ends[0];
        both.count = 2;
        both.fraction = ends[1].fraction < ends[0].fraction ? ends[1].fraction : ends[0].fraction;
        both.distance = ends[1].distance < ends[0].distance ? ends[1].distance : ends[0].distance;
        both.penetrating = ends[0].penetrating && ends[1].penetrating;
        both.depth = ends[1].depth > ends[0].depth ? ends[1].depth : ends[0].depth;
        both.point[1] = ends[1].point[0];
        both.normal[1] = ends[1].normal[0];
        both.penetration = ends[1].penetration;
        return 1;
    }
    int written = 0;
    for (int i = 0; i < 2; ++i)
    {
        if (hit[i])
        {
            out[written++] = ends[i];
        }
    }
    return written;
}

} // namespace

bool SegmentAgainstCircle(const SubStep& step, const LineSegment2D& segmentAtEnd, const Circle2D& circle,
                          Threshold& threshold, FeatureContact& contact, bool& approaching)
{
    const Vector2D& p1 = segmentAtEnd.pointA;
    const Vector2D& q1 = segmentAtEnd.pointB;
    const Vector2D n = FrontNormal(segmentAtEnd);
    const Vector2D d(n.y, -n.x);
    Vector2D foot;
    const float distance = circle.center.DistanceToLineThrough(p1, d, foot);
    // The segment approaches the circle when the foot's motion does not
    // lead away from the centre.
    const Chord chord(step.Back(foot), foot);
    if (!chord.still && chord.direction.Dot(circle.center - foot) >= 0.0f)
    {
        approaching = true;
    }
    const float r = circle.radius;
    if (r < distance)
    {
        return false;
    }
    const float along = (p1 - foot).Dot(q1 - foot);
    if (r == distance)
    {
        // Tangent to the segment's line at the end of the sub-step.
        if (along > 0.0f)
        {
            return false;
        }
        const Vector2D normal = Unit(foot - circle.center);
        if (chord.still)
        {
            if (!threshold.Accept(0.0f))
            {
                return false;
            }
            SetPenetrating(contact, 0.0f, foot, normal);
        }
        else
        {
            if (n.Dot(chord.direction) < 0.0f)
            {
                return false;
            }
            SetAtEnd(contact, chord.length, foot, normal);
        }
        contact.penetration = PenetrationAtStepEnd(foot, normal, step.CarryFromEnd(foot));
        return true;
    }
    if (along < 0.0f)
    {
        return FaceIntoCircle(step, chord, n, circle, threshold, contact);
    }

    // The foot lies outside the segment or on an end: the ends. Q is kept
    // over P when it is at least as early.
    FeatureContact candidate[2];
    bool hit[2];
    hit[0] = EndIntoCircle(step, p1, n, circle, threshold, candidate[0]);
    hit[1] = EndIntoCircle(step, q1, n, circle, threshold, candidate[1]);
    if (!hit[0] && !hit[1])
    {
        return false;
    }
    const int kept = (hit[1] && (!hit[0] || !Better(candidate[0], candidate[1]))) ? 1 : 0;
    contact = candidate[kept];
    if (contact.penetrating)
    {
        threshold.Lower(contact.depth);
    }
    return true;
}

bool CircleAgainstCircle(const SubStep& step, const Circle2D& atStart, const Circle2D& atEnd,
                         const Circle2D& other, Threshold& threshold, FeatureContact& contact,
                         bool& approaching)
{
    const Vector2D& z0 = atStart.center;
    const Vector2D& z1 = atEnd.center;
    const Vector2D& zb = other.center;
    const float r = atEnd.radius;
    const float reach = r + other.radius;
    const Chord chord(z0, z1);
    Vector2D centre; // this circle's centre at the contact
    if (chord.still)
    {
        const float apart = (zb - z1).Length();
        if (apart > reach)
        {
            return false;
        }
        const float depth = reach - apart;
        if (!threshold.Accept(depth))
        {
            return false;
        }
        centre = z1;
        SetPenetrating(contact, depth, Vector2D(), Vector2D());
    }
    else
    {
        if (Unit(zb - z0).Dot(chord.direction) < 0.0f)
        {
            return false;
        }
        approaching = true;
        // Closest approach of the centre's path to the other centre: the
        // path enters the grown circle at s = p - sqrt(R^2 - h^2).
        Vector2D foot;
        const float h = zb.DistanceToLineThrough(z0, chord.direction, foot);
        if (h > reach)
        {
            return false;
        }
        const float p = (foot - z0).Dot(chord.direction);
        const float s = p - std::sqrt(reach * reach - h * h);
        if (!WithinChord(s, chord))
        {
            return false;
        }
        if (s >= 0.0f)
        {
            SetMoving(contact, s, chord.length, Vector2D(), Vector2D());
            centre = z0 + chord.direction * contact.distance;
        }
        else
        {
            // Overlapping at the start of the sub-step.
            const float depth = NotNegative(reach - (zb - z0).Length());
            if (JustTouching(chord, depth))
            {
                SetMoving(contact, 0.0f, chord.length, Vector2D(), Vector2D());
            }
            else
            {
                if (!threshold.Accept(depth))
                {
                    return false;
                }
                SetPenetrating(contact, depth, Vector2D(), Vector2D());
            }
            centre = z0;
        }
    }
    const Vector2D normal = Unit(centre - zb);
    contact.normal[0] = normal;
    contact.point[0] = zb + normal * other.radius;
    // This circle's deepest point, at the end of the step for a contact made
    // in the sub-step, at the contact itself for one that already overlaps.
    const Vector2D deepest = (contact.penetrating ? centre : step.CarryFromEnd(z1)) - normal * r;
    contact.penetration = PenetrationAtStepEnd(contact.point[0], normal, deepest);
    return true;
}

bool CircleAgainstSegment(const SubStep& step, const Circle2D& atStart, const Circle2D& atEnd,
                          const LineSegment2D& other, Threshold& threshold, FeatureContact& contact,
                          bool& approaching)
{
    const Vector2D& z0 = atStart.center;
    const float r = atStart.radius;
    const Vector2D n = FrontNormal(other);
    const Chord chord(z0, atEnd.center);
    if (!chord.still)
    {
        if (n.Dot(chord.direction) > 0.0f)
        {
            return false;
        }
        approaching = true;
    }

    // The circle's leading point towards the face.
    const Vector2D lead = z0 - n * r;
    Vector2D hit;
    LineSegment2D overlap;
    bool faceTooDeep = false;
    if (other.IntersectRay(Ray2D(lead, n), hit, overlap) == ClassifyResult::Intersecting)
    {
        const float depth = DistanceAlong(lead, n, other.pointA, n);
        // A leading point exactly on the face is left to the sweep below.
        if (depth > 0.0f || chord.still)
        {
            if (JustTouching(chord, depth))
            {
                SetMoving(contact, 0.0f, chord.length, lead + n * depth, n);
                contact.penetration =
                    PenetrationAtStepEnd(contact.point[0], n, step.CarryFromEnd(atEnd.center) - n * r);
                return true;
            }
            if (threshold.Accept(depth))
            {
                SetPenetrating(contact, depth, lead + n * depth, n);
                contact.penetration =
                    PenetrationAtStepEnd(contact.point[0], n, step.CarryFromStart(z0) - n * r);
                return true;
            }
            faceTooDeep = true;
        }
    }
    if (!chord.still && !faceTooDeep)
    {
        switch (other.IntersectRay(Ray2D(lead, chord.direction), hit, overlap))
        {
        case ClassifyResult::Intersecting:
        {
            const float distance = DistanceAlong(lead, chord.direction, other.pointA, n);
            if (!WithinChord(distance, chord))
            {
                return false;
            }
            SetMoving(contact, distance, chord.length, Vector2D(), n);
            contact.point[0] = lead + chord.direction * contact.distance;
            contact.penetration =
                PenetrationAtStepEnd(contact.point[0], n, step.CarryFromEnd(atEnd.center) - n * r);
            return true;
        }
        case ClassifyResult::Coincident:
        {
            // Sliding along the segment's line: contact where the leading
            // point reaches the nearer end of the shared part.
            const float toA = (overlap.pointA - lead).Length();
            const float toB = (overlap.pointB - lead).Length();
            const bool nearA = toA <= toB;
            const float distance = nearA ? toA : toB;
            if (!WithinChord(distance, chord))
            {
                return false;
            }
            SetMoving(contact, distance, chord.length, nearA ? overlap.pointA : overlap.pointB, n);
            contact.penetration = 0.0f;
            return true;
        }
        case ClassifyResult::NoIntersection:
            break;
        default:
            // Parallel to the face, or on its line but apart from it.
            return false;
        }
    }

    // The segment's ends against the circle. A is kept over B on a tie.
    FeatureContact candidate[2];
    bool hit2[2];
    hit2[0] = SegmentEndIntoCircle(step, other.pointA, atStart, atEnd, chord, threshold, candidate[0]);
    hit2[1] = SegmentEndIntoCircle(step, other.pointB, atStart, atEnd, chord, threshold, candidate[1]);
    if (!hit2[0] && !hit2[1])
    {
        return false;
    }
    const int kept = (hit2[1] && (!hit2[0] || Better(candidate[1], candidate[0]))) ? 1 : 0;
    contact = candidate[kept];
    if (contact.penetrating)
    {
        threshold.Lower(contact.depth);
    }
    return true;
}

int SegmentAgainstSegment(const SubStep& step, const LineSegment2D& atStart, const LineSegment2D& atEnd,
                          const LineSegment2D& other, Threshold& threshold, FeatureContact contacts[4],
                          bool& approaching)
{
    const Vector2D nS = FrontNormal(other);
    const Vector2D n0 = FrontNormal(atStart);
    FeatureContact ends[2];
    bool hit[2];
    int count = 0;

    hit[0] = EndAgainstSegment(step, atEnd.pointA, other, nS, threshold, ends[0], approaching);
    hit[1] = EndAgainstSegment(step, atEnd.pointB, other, nS, threshold, ends[1], approaching);
    count += PairEnds(ends, hit, contacts + count);

    hit[0] = OtherEndAgainstSegment(step, other.pointA, atStart, n0, threshold, ends[0], approaching);
    hit[1] = OtherEndAgainstSegment(step, other.pointB, atStart, n0, threshold, ends[1], approaching);
    count += PairEnds(ends, hit, contacts + count);
    return count;
}

} // namespace Collision2D::Swept

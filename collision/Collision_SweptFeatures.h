#pragma once

#include "collision/Collision_SweptFrame.h"

// The feature tests of one sub-step: one shape of the moving object, swept
// along the chords of its features from t0 to t1, against one shape that
// stands still. Every test finds at most one analytic hit per feature: a ray
// along the feature's chord meets the other shape, and the distance s along
// a chord of length L gives the fraction s / L of the sub-step. A feature
// that does not move (a chord shorter than the math tolerance) never divides:
// it either already touches the other shape, and is then a contact that
// already penetrates, or it has no contact.
//
// Segments are one-sided: only a shape that enters a segment's front side
// (left of A -> B) makes contact. A contact that already penetrates at the
// start of the sub-step gets fraction 0 and is kept only when the threshold
// admits its depth; a kept one lowers the threshold.
//
// `approaching` is set when the moving shape's motion does not lead away
// from the other shape, in range or not: a circle's centre moving towards
// (or across) the other centre or the segment's closest point, a segment's
// line moving towards the circle, or a feature moving into a segment's
// front side.
namespace Collision2D::Swept
{

// A segment of the moving object (placed at t1) against a circle.
// One contact: the face, else the better of the two ends. The contact point
// lies on the circle, the normal runs from the circle's centre to it.
bool SegmentAgainstCircle(const SubStep& step, const Math::LineSegment2D& segmentAtEnd,
                          const Math::Circle2D& circle, Threshold& threshold, FeatureContact& contact,
                          bool& approaching);

// A circle of the moving object against another circle: the centre's chord
// against the other circle grown by this radius. The contact point lies on
// the other circle, the normal along the line of the centres.
bool CircleAgainstCircle(const SubStep& step, const Math::Circle2D& atStart, const Math::Circle2D& atEnd,
                         const Math::Circle2D& other, Threshold& threshold, FeatureContact& contact,
                         bool& approaching);

// A circle of the moving object against a segment: the circle's leading
// point against the face, else the segment's ends, swept backwards, against
// the circle at its start place. Face contacts have the front normal; end
// contacts lie on the end, with the normal towards the circle's centre.
bool CircleAgainstSegment(const SubStep& step, const Math::Circle2D& atStart, const Math::Circle2D& atEnd,
                          const Math::LineSegment2D& other, Threshold& threshold, FeatureContact& contact,
                          bool& approaching);

// A segment of the moving object against another segment: its ends along
// their chords against the other segment's face, then the other segment's
// ends swept backwards against this segment at its start place. The ends of
// one segment that reach the other within SimultaneousDistance of each
// other give one contact with two points. Depths equal to the threshold are
// admitted. Writes up to four contacts in that order and returns how many.
int SegmentAgainstSegment(const SubStep& step, const Math::LineSegment2D& atStart,
                          const Math::LineSegment2D& atEnd, const Math::LineSegment2D& other,
                          Threshold& threshold, FeatureContact contacts[4], bool& approaching);

} // namespace Collision2D::Swept

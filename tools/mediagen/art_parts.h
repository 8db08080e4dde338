// Block drawings shared between the block table and the piece parts (19 x 19 cells).
#pragma once

#include "mediagen/paint.h"

namespace mdx::media {

// A beam across the cell, with a rounded left or right end and a bolted joint for a stem.
void beamBlock(cairo_t* cr, Rgb c, bool leftEnd, bool rightEnd, bool joint);
// The stem that hangs below a beam's joint.
void stemBlock(cairo_t* cr, Rgb c);

enum class PillarPart { Cap, Body, Foot };
// A pillar segment; the cap has a plate on top, the foot (shown while falling) one below.
void pillarBlock(cairo_t* cr, Rgb c, PillarPart part);

// Conveyor belt: variants 0 to 2 are the left end, middle and right end; 3 to 5 the same
// with the treads half a step further along. The middle stays open for the wheel beneath.
void conveyorBlock(cairo_t* cr, Rgb c, int variant);

}  // namespace mdx::media

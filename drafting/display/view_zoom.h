// The view changes of the zoom and pan commands as arithmetic on a view: zoom by a factor about
// the paint box's centre, pan by fractions of the paint box, the view that shows a box of the
// drawing whole, and the view centred on a point. They use the paint box's full size in pixels
// (W x H): a 100 x 10 drawing in an 800 x 600 box shows at 1.05 x 100 / 800 = 0.13125.
#ifndef LINEWORK_DISPLAY_VIEW_ZOOM_H
#define LINEWORK_DISPLAY_VIEW_ZOOM_H

#include <optional>

#include "display/display_messages.h"
#include "display/display_modes.h"
#include "display/kind_renderers.h"
#include "drawing/drawing.h"
#include "drawing/geometry.h"
#include "drawing/layer_table.h"
#include "drawing/view_transform.h"

namespace linework {

enum class ZoomLimit { Allowed, TooSmall, TooLarge };

// Whether scale x factor stays within the view's limits: a factor below 1 must not go under
// MinScale, one above 1 not over MaxScale. A factor that is not a positive finite number is
// refused as too small (it would make no view).
ZoomLimit CheckZoomLimits(const ViewState& view, double factor);
// The message a refusal shows; 0 for none.
int ZoomLimitMessage(ZoomLimit limit);

// scale x factor, the centre of the W x H box fixed.
ViewTransform ZoomedByFactor(const ViewTransform& view, double factor, PixelSize box);
// The edges moved by fx of the box's width and fy of its height.
ViewTransform PannedByScreenFraction(const ViewTransform& view, double fx, double fy, PixelSize box);
// The view that shows the box whole with a 5 % margin, centred; a box of no size (both sides
// below 1e-19) gets scale 1 with its point in the centre. None for an empty box (min above max).
std::optional<ViewTransform> ExtentsView(const ViewTransform& view, const Box& extents, PixelSize box);
// The view moved so that 'point' lies at the box's centre.
ViewTransform CentredOn(const ViewTransform& view, Point point, PixelSize box);

// The extents of the entities of a list as drawing them would find them (erased ones and those
// on hidden layers left out), with the layers' scale ranges not applied; min above max when
// nothing was found. The layer words are as they were afterwards.
Box ComputeDrawingExtents(const Drawing& drawing, EntityHandle head, const ViewState& view, LayerTable& layers,
                          const DisplaySettings& settings, KindRenderers renderers);

// Whether an entity of the list lies on a hidden layer or one outside its scale range.
bool AnyEntityOnHiddenLayer(const Drawing& drawing, EntityHandle head, const LayerTable& layers);

}  // namespace linework

#endif

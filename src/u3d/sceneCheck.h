// What a scene must satisfy to be written as a U3D file that every decoder
// reads back, checked before the first byte is written. A name that refers
// to no object of the scene (a parent, a model's geometry, a shader, a
// material) is written as it is: decoders take such a node as not in the
// world and such a resource as the default one, as they do in files that
// come with other files.
#pragma once

#include "u3d/scene.h"

namespace u3d {

// Throws sceneError (u3d/sceneInstances.h) with a one-line message naming
// the first fault:
// - a NaN or infinite value: a position, normal or colour of a geometry,
//   an element of a transform (as F32), a material value, the units scale
//   (which must also be positive);
// - a name that is empty, longer than a U3D string holds, or shared by two
//   objects of one kind (nodes, geometries, shaders, materials);
// - a parent cycle;
// - a geometry whose index lists do not fit it: a corner count that is no
//   multiple of the primitive's, attribute lists of another length, an
//   index past its values, a shading id list of another length or an id
//   above 65535, more values than a U32 counts.
void checkWritable(const sceneS& scene);

}  // namespace u3d

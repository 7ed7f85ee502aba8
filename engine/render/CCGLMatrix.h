#pragma once

// A small kazmath-style matrix library: 4x4 column-major matrices and the
// model-view / projection / texture stacks that the shaders read.

typedef float kmScalar;

struct kmMat4 {
  kmScalar mat[16];
};

#define KM_GL_MODELVIEW 0x1700
#define KM_GL_PROJECTION 0x1701
#define KM_GL_TEXTURE 0x1702

kmMat4* kmMat4Identity(kmMat4* out);
kmMat4* kmMat4Fill(kmMat4* out, const kmScalar* values);
// out = a * b (b applied first).
kmMat4* kmMat4Multiply(kmMat4* out, const kmMat4* a, const kmMat4* b);
kmMat4* kmMat4Translation(kmMat4* out, kmScalar x, kmScalar y, kmScalar z);
kmMat4* kmMat4Scaling(kmMat4* out, kmScalar x, kmScalar y, kmScalar z);
// Rotation about the z axis, radians, counter-clockwise.
kmMat4* kmMat4RotationZ(kmMat4* out, kmScalar radians);
kmMat4* kmMat4OrthographicProjection(kmMat4* out, kmScalar left, kmScalar right,
                                     kmScalar bottom, kmScalar top, kmScalar nearVal,
                                     kmScalar farVal);
// Applies the matrix to the point (x, y, z, 1); w is divided out.
void kmMat4TransformPoint(const kmMat4* m, kmScalar* x, kmScalar* y, kmScalar* z);

void kmGLMatrixMode(unsigned int mode);
void kmGLPushMatrix();
void kmGLPopMatrix();
void kmGLLoadIdentity();
void kmGLLoadMatrix(const kmMat4* m);
// current = current * m
void kmGLMultMatrix(const kmMat4* m);
void kmGLTranslatef(float x, float y, float z);
// Degrees about (x, y, z); only the z axis is supported by a 2D engine.
void kmGLRotatef(float degrees, float x, float y, float z);
void kmGLScalef(float x, float y, float z);
void kmGLGetMatrix(unsigned int mode, kmMat4* out);
// Drops every stack back to a single identity matrix.
void kmGLFreeAll();
// Depth of the current stack (1 when nothing is pushed); for sanity checks.
int kmGLStackDepth(unsigned int mode);

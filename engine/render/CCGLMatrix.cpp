#include "CCGLMatrix.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "CCCommon.h"

kmMat4* kmMat4Identity(kmMat4* out) {
  std::memset(out->mat, 0, sizeof(out->mat));
  out->mat[0] = out->mat[5] = out->mat[10] = out->mat[15] = 1.0f;
  return out;
}

kmMat4* kmMat4Fill(kmMat4* out, const kmScalar* values) {
  std::memcpy(out->mat, values, sizeof(out->mat));
  return out;
}

kmMat4* kmMat4Multiply(kmMat4* out, const kmMat4* a, const kmMat4* b) {
  kmScalar r[16];
  for (int col = 0; col < 4; ++col) {
    for (int row = 0; row < 4; ++row) {
      kmScalar sum = 0;
      for (int k = 0; k < 4; ++k) sum += a->mat[k * 4 + row] * b->mat[col * 4 + k];
      r[col * 4 + row] = sum;
    }
  }
  std::memcpy(out->mat, r, sizeof(r));
  return out;
}

kmMat4* kmMat4Translation(kmMat4* out, kmScalar x, kmScalar y, kmScalar z) {
  kmMat4Identity(out);
  out->mat[12] = x;
  out->mat[13] = y;
  out->mat[14] = z;
  return out;
}

kmMat4* kmMat4Scaling(kmMat4* out, kmScalar x, kmScalar y, kmScalar z) {
  kmMat4Identity(out);
  out->mat[0] = x;
  out->mat[5] = y;
  out->mat[10] = z;
  return out;
}

kmMat4* kmMat4RotationZ(kmMat4* out, kmScalar radians) {
  kmMat4Identity(out);
  kmScalar c = std::cos(radians), s = std::sin(radians);
  out->mat[0] = c;
  out->mat[1] = s;
  out->mat[4] = -s;
  out->mat[5] = c;
  return out;
}

kmMat4* kmMat4OrthographicProjection(kmMat4* out, kmScalar left, kmScalar right,
                                     kmScalar bottom, kmScalar top, kmScalar nearVal,
                                     kmScalar farVal) {
  kmMat4Identity(out);
  out->mat[0] = 2 / (right - left);
  out->mat[5] = 2 / (top - bottom);
  out->mat[10] = -2 / (farVal - nearVal);
  out->mat[12] = -((right + left) / (right - left));
  out->mat[13] = -((top + bottom) / (top - bottom));
  out->mat[14] = -((farVal + nearVal) / (farVal - nearVal));
  return out;
}

void kmMat4TransformPoint(const kmMat4* m, kmScalar* x, kmScalar* y, kmScalar* z) {
  const kmScalar* a = m->mat;
  kmScalar px = *x, py = *y, pz = *z;
  kmScalar w = a[3] * px + a[7] * py + a[11] * pz + a[15];
  if (w == 0) w = 1;
  *x = (a[0] * px + a[4] * py + a[8] * pz + a[12]) / w;
  *y = (a[1] * px + a[5] * py + a[9] * pz + a[13]) / w;
  *z = (a[2] * px + a[6] * py + a[10] * pz + a[14]) / w;
}

namespace {

struct Stacks {
  std::vector<kmMat4> modelview, projection, texture;
  std::vector<kmMat4>* current = nullptr;
  Stacks() {
    kmMat4 id;
    kmMat4Identity(&id);
    modelview.assign(1, id);
    projection.assign(1, id);
    texture.assign(1, id);
    current = &modelview;
  }
  std::vector<kmMat4>* forMode(unsigned int mode) {
    switch (mode) {
      case KM_GL_MODELVIEW: return &modelview;
      case KM_GL_PROJECTION: return &projection;
      case KM_GL_TEXTURE: return &texture;
      default: return nullptr;
    }
  }
};

Stacks& stacks() {
  static Stacks s;
  return s;
}

}  // namespace

void kmGLMatrixMode(unsigned int mode) {
  std::vector<kmMat4>* stack = stacks().forMode(mode);
  if (!stack) {
    cocos2d::CCLogError("kmGLMatrixMode: invalid mode 0x%x", mode);
    return;
  }
  stacks().current = stack;
}

void kmGLPushMatrix() {
  std::vector<kmMat4>& s = *stacks().current;
  kmMat4 top = s.back();
  s.push_back(top);
}

void kmGLPopMatrix() {
  std::vector<kmMat4>& s = *stacks().current;
  // The bottom matrix always stays: an unbalanced pop must not empty the stack.
  if (s.size() > 1) {
    s.pop_back();
  } else {
    cocos2d::CCLogError("kmGLPopMatrix: stack underflow");
  }
}

void kmGLLoadIdentity() { kmMat4Identity(&stacks().current->back()); }

void kmGLLoadMatrix(const kmMat4* m) { stacks().current->back() = *m; }

void kmGLMultMatrix(const kmMat4* m) {
  kmMat4& top = stacks().current->back();
  kmMat4Multiply(&top, &top, m);
}

void kmGLTranslatef(float x, float y, float z) {
  kmMat4 t;
  kmGLMultMatrix(kmMat4Translation(&t, x, y, z));
}

void kmGLRotatef(float degrees, float x, float y, float z) {
  (void)x;
  (void)y;
  kmMat4 r;
  kmGLMultMatrix(kmMat4RotationZ(&r, (z < 0 ? -degrees : degrees) * 3.14159265358979f / 180.0f));
}

void kmGLScalef(float x, float y, float z) {
  kmMat4 s;
  kmGLMultMatrix(kmMat4Scaling(&s, x, y, z));
}

void kmGLGetMatrix(unsigned int mode, kmMat4* out) {
  std::vector<kmMat4>* stack = stacks().forMode(mode);
  if (stack) *out = stack->back();
  else kmMat4Identity(out);
}

void kmGLFreeAll() {
  Stacks& s = stacks();
  unsigned int mode = s.current == &s.projection ? KM_GL_PROJECTION
                      : s.current == &s.texture  ? KM_GL_TEXTURE
                                                 : KM_GL_MODELVIEW;
  s = Stacks();
  kmGLMatrixMode(mode);
}

int kmGLStackDepth(unsigned int mode) {
  std::vector<kmMat4>* stack = stacks().forMode(mode);
  return stack ? static_cast<int>(stack->size()) : 0;
}

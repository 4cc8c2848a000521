#!/usr/bin/env python3
"""Writes course/MarkerMeshes.cpp: the post, rope and race-pole meshes as static tables.

Run once by hand after changing a shape (the build does not run it):
    scripts/make_marker_meshes.py > course/MarkerMeshes.cpp

Each mesh is a list of triangles whose corners name a vertex, a normal and a texture
coordinate. Normals and texture coordinates are numbered in the order the faces first use
them. Every side triangle winds counter-clockwise seen from outside.
"""

import math

# ---------------------------------------------------------------- small vector helpers


def sub(a, b):
    return [a[i] - b[i] for i in range(3)]


def add(a, b):
    return [a[i] + b[i] for i in range(3)]


def scale(a, s):
    return [x * s for x in a]


def cross(a, b):
    return [a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]]


def dot(a, b):
    return sum(a[i] * b[i] for i in range(3))


def unit(a):
    length = math.sqrt(dot(a, a))
    return [x / length for x in a]


def face_normal(vertices, tri):
    a, b, c = (vertices[i] for i in tri)
    return unit(cross(sub(b, a), sub(c, a)))


class Mesh:
    """Faces with per-corner normal and texture keys; keys become indices in first-use order."""

    def __init__(self, vertices):
        self.vertices = vertices
        self.corners = []  # per face: three (vertex, normal key, texture key)
        self.normal_of = {}
        self.tex_of = {}

    def face(self, corners):
        self.corners.append(corners)

    def tables(self):
        normal_index, tex_index = {}, {}
        normals, texcoords, faces = [], [], []
        for corners in self.corners:
            row_v, row_n, row_t = [], [], []
            for vertex, nkey, tkey in corners:
                if nkey not in normal_index:
                    normal_index[nkey] = len(normals)
                    normals.append(self.normal_of[nkey])
                if tkey not in tex_index:
                    tex_index[tkey] = len(texcoords)
                    texcoords.append(self.tex_of[tkey])
                row_v.append(vertex)
                row_n.append(normal_index[nkey])
                row_t.append(tex_index[tkey])
            faces.append(row_v + row_n + row_t)
        return faces, self.vertices, normals, texcoords


def corner_angle(vertices, tri, corner):
    a = vertices[tri[corner]]
    b = vertices[tri[(corner + 1) % 3]]
    c = vertices[tri[(corner + 2) % 3]]
    u, w = unit(sub(b, a)), unit(sub(c, a))
    return math.acos(max(-1.0, min(1.0, dot(u, w))))


def smooth_normals(vertices, triangles):
    """The unit normals of the triangles around each vertex, weighted by their angle there."""
    sums = [[0.0, 0.0, 0.0] for _ in vertices]
    for tri in triangles:
        n = face_normal(vertices, tri)
        for corner, v in enumerate(tri):
            sums[v] = add(sums[v], scale(n, corner_angle(vertices, tri, corner)))
    return [unit(s) for s in sums]


# ---------------------------------------------------------------- post

POST_BOTTOM_X = 0.117495
POST_TOP_X = 0.131477
POST_CENTRE_Y = -0.000995083
POST_HALF_Y = 0.139238
POST_LOW_TOP_Z = 0.43498


def post_mesh():
    # An irregular pentagon, widest across y, the upper ring a little wider than the lower.
    top_radius = [POST_TOP_X, (POST_HALF_Y + POST_CENTRE_Y) / math.sin(math.radians(72)),
                  0.14, 0.14, (POST_HALF_Y - POST_CENTRE_Y) / math.sin(math.radians(72))]
    ring = []
    for k in range(5):
        angle = math.radians(72 * k)
        ring.append((top_radius[k] * math.cos(angle), POST_CENTRE_Y + top_radius[k] * math.sin(angle)))
    ring[4] = (ring[4][0], -POST_HALF_Y)  # the widest point, exactly
    shrink = POST_BOTTOM_X / POST_TOP_X
    low_x = min(x for x, _ in ring)
    slant = (0.5 - POST_LOW_TOP_Z) / (POST_TOP_X - low_x)
    vertices = [[x * shrink, POST_CENTRE_Y + (y - POST_CENTRE_Y) * shrink, -0.5] for x, y in ring]
    vertices += [[x, y, 0.5 - slant * (POST_TOP_X - x)] for x, y in ring]
    vertices[0] = [POST_BOTTOM_X, POST_CENTRE_Y, -0.5]
    vertices[5] = [POST_TOP_X, POST_CENTRE_Y, 0.5]

    sides = []
    for i in range(5):
        j = (i + 1) % 5
        sides += [(i, 5 + j, 5 + i), (i, j, 5 + j)]
    top = [(5, 6, 7), (5, 7, 8), (5, 8, 9)]
    bottom = [(0, 2, 1), (0, 3, 2), (0, 4, 3)]

    mesh = Mesh(vertices)
    side_normals = smooth_normals(vertices, sides)
    side_normals[0] = [0.972656, 0.231809, -0.0143083]
    top_normal = face_normal(vertices, top[0])
    for v in range(10):
        mesh.normal_of[('side', v)] = side_normals[v]
    for v in range(5, 10):
        mesh.normal_of[('top', v)] = unit(add(scale(top_normal, 0.85), scale(side_normals[v], 0.15)))
    mesh.normal_of['bottom'] = [0.0, 0.0, -1.0]

    # Side charts: quad 0, quad 1, quads 2 and 3 together, quad 4; height along s, around along t.
    charts = [(0, [0]), (1, [1]), (2, [2, 3]), (3, [4])]
    chart_top_t = [0.172304, 0.342304, 0.654608, 0.822304]
    quad_chart = {}
    for chart, quads in charts:
        for position, quad in enumerate(quads):
            quad_chart[quad] = (chart, position)
    step_t, low_s, span_s = 0.142304, 0.03, 0.431039
    for quad in range(5):
        chart, position = quad_chart[quad]
        for around in (0, 1):
            corner = (quad + around) % 5
            t = chart_top_t[chart] - (position + around) * step_t
            mesh.tex_of[(chart, corner)] = [low_s, t]
            mesh.tex_of[(chart, 5 + corner)] = [low_s + span_s, t]
    for v in range(10):
        centre_t = 0.25 if v >= 5 else 0.72
        x, y = vertices[v][0], vertices[v][1] - POST_CENTRE_Y
        mesh.tex_of[('cap', v)] = [0.735 + 1.5 * x, centre_t + 1.5 * y]

    for i, tri in enumerate(sides):
        quad = i // 2
        chart = quad_chart[quad][0]
        mesh.face([(v, ('side', v), (chart, v)) for v in tri])
    for tri in top:
        mesh.face([(v, ('top', v), ('cap', v)) for v in tri])
    for tri in bottom:
        mesh.face([(v, 'bottom', ('cap', v)) for v in tri])
    return mesh.tables()


# ---------------------------------------------------------------- rope

ROPE_HALF_Y = 0.0832801
ROPE_HALF_Z = 0.206026
ROPE_RINGS = 8
ROPE_AROUND = 9


def rope_mesh():
    # A flat strand of three lobes that turn along the length; the rings run from x = 0.5 to
    # x = -0.5 and go round clockwise seen from +x, so the closed end at x = -0.5 faces -x.
    raw = []
    for r in range(ROPE_RINGS):
        x = 0.5 - r / (ROPE_RINGS - 1)
        twist = math.radians(100) - r * math.radians(37)
        for k in range(ROPE_AROUND):
            phi = math.radians(100) - k * 2 * math.pi / ROPE_AROUND
            lobe = 0.78 + 0.22 * math.cos(3 * (phi - twist))
            wobble = 1.0 + 0.04 * math.sin(5.0 * r + 3.0 * k)
            if r == ROPE_RINGS - 1:  # the strands are bound into a smooth end
                lobe, wobble = 0.9, 1.0
            raw.append([x, math.cos(phi) * lobe * wobble, math.sin(phi) * lobe * wobble])
    high_y = max(abs(v[1]) for v in raw)
    high_z = max(abs(v[2]) for v in raw)
    vertices = [[v[0], v[1] * ROPE_HALF_Y / high_y, v[2] * ROPE_HALF_Z / high_z] for v in raw]
    # The closed end tapers: its ring shrinks until its second vertex lies on the given spot.
    last = (ROPE_RINGS - 1) * ROPE_AROUND
    shrink_y = 0.0331247 / vertices[last + 1][1]
    shrink_z = 0.0576352 / vertices[last + 1][2]
    assert 0 < shrink_y < 1 and 0 < shrink_z < 1
    for v in vertices[last:]:
        v[1] *= shrink_y
        v[2] *= shrink_z
    vertices[last + 1] = [-0.5, 0.0331247, 0.0576352]

    cap = [(last + k, last + k + 1, last) for k in range(1, ROPE_AROUND - 1)]
    sides = []  # per band: its quads, each two triangles
    for r in range(ROPE_RINGS - 1):
        band = []
        for k in range(ROPE_AROUND):
            a, b = r * ROPE_AROUND + k, r * ROPE_AROUND + (k + 1) % ROPE_AROUND
            c, d = a + ROPE_AROUND, b + ROPE_AROUND
            band.append([(a, b, d), (a, d, c)])
        sides.append(band)
    all_triangles = cap + [t for band in sides for quad in band for t in quad]
    normals = smooth_normals(vertices, all_triangles)

    mesh = Mesh(vertices)
    for v in range(len(vertices)):
        mesh.normal_of[v] = normals[v]

    # Texture: eight columns; the closed end's triangles each on their own in the last column,
    # every band in its own column as five islands of two, two, two, two and one quads.
    gap, width = 0.01, (0.94 - 7 * 0.01) / 8
    quad_height = (0.94 - 4 * gap) / 9
    cap_height = (0.94 - 6 * gap) / 7
    column = [0.03 + c * (width + gap) for c in range(8)]
    for n, tri in enumerate(cap):
        s0, t0 = column[7], 0.03 + n * (cap_height + gap)
        spots = [[s0 + width, t0], [s0 + width, t0 + cap_height], [s0, t0 + cap_height / 2]]
        for corner in range(3):
            mesh.tex_of[('cap', n, corner)] = spots[corner]
        mesh.face([(tri[c], tri[c], ('cap', n, c)) for c in range(3)])
    islands = [[0, 1], [2, 3], [4, 5], [6, 7], [8]]
    for r, band in enumerate(sides):
        t = 0.03
        for island, quads in enumerate(islands):
            for position, quad in enumerate(quads):
                for around in (0, 1):
                    k = (quad + around) % ROPE_AROUND
                    spot_t = t + (position + around) * quad_height
                    mesh.tex_of[(r, island, r * ROPE_AROUND + k)] = [column[r] + width, spot_t]
                    mesh.tex_of[(r, island, (r + 1) * ROPE_AROUND + k)] = [column[r], spot_t]
            t += len(quads) * quad_height + gap
        for island, quads in enumerate(islands):
            for quad in quads:
                for tri in band[quad]:
                    mesh.face([(v, v, (r, island, v)) for v in tri])
    return mesh.tables()


# ---------------------------------------------------------------- race pole

POLE_RINGS = [(0.132549, -0.5), (0.182563, 0.198017), (0.143794, 0.5)]


def pole_mesh():
    vertices = []
    for radius, z in POLE_RINGS:
        for k in range(6):
            angle = math.radians(60 * k)
            x, y = radius * math.cos(angle), radius * math.sin(angle)
            vertices.append([0.0 if abs(x) < 1e-12 else x, 0.0 if abs(y) < 1e-12 else y, z])
    sides = []  # (triangle, quad column)
    for r in range(2):
        for i in range(6):
            j = (i + 1) % 6
            a, b, c, d = 6 * r + i, 6 * r + j, 6 * (r + 1) + j, 6 * (r + 1) + i
            sides += [((a, c, d), i), ((a, b, c), i)]
    bottom = [(0, 2, 1), (0, 3, 2), (0, 4, 3), (0, 5, 4)]
    top = [(12, 13, 14), (12, 14, 15), (12, 15, 16), (12, 16, 17)]
    normals = smooth_normals(vertices, [tri for tri, _ in sides])

    mesh = Mesh(vertices)
    for v in range(18):
        mesh.normal_of[v] = normals[v]
    mesh.normal_of['bottom'] = [0.0, 0.0, -1.0]
    mesh.normal_of['top'] = [0.0, 0.0, 1.0]
    # The side wraps once round from s = 0.75 to 1.75; the ends take a strip of the image by x.
    low_t, span_t = 0.000499427, 0.999001146
    for ring, (_, z) in enumerate(POLE_RINGS):
        for column in range(7):
            mesh.tex_of[('side', ring, column)] = [0.75 + column / 6.0, low_t + (z + 0.5) * span_t]
    def strip_key(v):  # vertices k and 6 - k have the same x
        return min(v % 6, 6 - v % 6)

    for v in range(6):
        mesh.tex_of[('bottom', strip_key(v))] = [0.5 + 5.0 * vertices[v][0], 0.0015]
    top_radius = POLE_RINGS[2][0]
    for v in range(12, 18):
        s = 0.5 + vertices[v][0] * (0.906417 / top_radius)
        mesh.tex_of[('top', strip_key(v))] = [s, 0.9985]

    for tri, quad_column in sides:
        corners = []
        for v in tri:
            column = v % 6
            if quad_column == 5 and column == 0:
                column = 6
            corners.append((v, v, ('side', v // 6, column)))
        mesh.face(corners)
    for tri in bottom:
        mesh.face([(v, 'bottom', ('bottom', strip_key(v))) for v in tri])
    for tri in top:
        mesh.face([(v, 'top', ('top', strip_key(v))) for v in tri])
    return mesh.tables()


# ---------------------------------------------------------------- output


def number(value):
    if abs(value) < 1e-9:
        value = 0.0
    text = '%.9g' % value
    if 'e' not in text and '.' not in text:
        text += '.0'
    return text + 'f'


def emit(name, tables):
    faces, vertices, normals, texcoords = tables
    out = []
    out.append('const uint8_t k%sFaces[%d][9] = {' % (name, len(faces)))
    for f in faces:
        out.append('    {%s},' % ', '.join(str(i) for i in f))
    out.append('};')
    for label, rows, width in (('Vertices', vertices, 3), ('Normals', normals, 3),
                               ('TexCoords', texcoords, 2)):
        out.append('const float k%s%s[%d][%d] = {' % (name, label, len(rows), width))
        for row in rows:
            out.append('    {%s},' % ', '.join(number(x) for x in row))
        out.append('};')
    return '\n'.join(out)


def check_winding(name, tables):
    """Every face's winding must agree with the normals given at its corners."""
    faces, vertices, normals, _ = tables
    for n, f in enumerate(faces):
        corner_sum = [0.0, 0.0, 0.0]
        for i in f[3:6]:
            corner_sum = add(corner_sum, normals[i])
        if dot(face_normal(vertices, f[0:3]), corner_sum) <= 0:
            raise SystemExit('%s face %d winds against its normals' % (name, n))


def main():
    meshes = [('Post', post_mesh()), ('Rope', rope_mesh()), ('Pole', pole_mesh())]
    for name, tables in meshes:
        check_winding(name, tables)
    print('// The post, rope and race-pole meshes as static tables, written by')
    print('// scripts/make_marker_meshes.py. Edit the script, not the tables.')
    print('#include "course/MarkerMeshes.h"')
    print()
    print('namespace {')
    for name, tables in meshes:
        print(emit(name, tables))
        print()
    print('}  // namespace')
    print()
    for name, tables in meshes:
        faces, vertices, normals, texcoords = tables
        print('const MarkerMesh k%sMesh = {k%sFaces, %d, k%sVertices, %d, k%sNormals, %d, '
              'k%sTexCoords, %d};' % (name, name, len(faces), name, len(vertices), name,
                                      len(normals), name, len(texcoords)))


if __name__ == '__main__':
    main()

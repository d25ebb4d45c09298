#!/usr/bin/python3
"""kelvorn-tool flatten against ezdxf, an independent DXF library.

Makes drawings with ezdxf (blocks nested three deep, rotation, non-uniform
and mirroring scales, extrusions, MINSERT arrays, polyface and polygon meshes, smoothed polygon meshes open
and closed, MESH entities), saves each as text and as binary DXF, flattens them with the
tool and compares the faces with ezdxf's expansion of model space: polyface
and polygon meshes as ezdxf's virtual 3DFACEs, MESH entities through its
MeshBuilder, smoothed polygon meshes as ezdxf's virtual 3DFACEs of a polygon
mesh made of the fitted vertices (VERTEX flag 8) that ezdxf holds for them, each placed by the block references' matrices as ezdxf computes
them (Insert.matrix44, multi_insert for MINSERT). (ezdxf's recursive_decompose
cannot follow a turned block inside a non-uniformly scaled one: the result is
no longer an INSERT.) Faces must agree in number, order and every corner
within 1e-9 of the model's size; a binary file must flatten to the very bytes
of its text file.

usage: flatten_ezdxf_diff.py KELVORN_TOOL SCRATCH_DIR
"""
import math
import pathlib
import random
import subprocess
import sys

import ezdxf
from ezdxf.render import MeshBuilder

TOLERANCE = 1e-9


def add_blocks(doc):
    """A box of 6 quadrilaterals and a tetrahedron, an ARM block holding both
    turned and moved, and a ROBOT block holding ARMs: three levels."""
    box = doc.blocks.new("BOX", base_point=(0.5, 0.5, 0))
    corners = [(0, 0, 0), (1, 0, 0), (1, 1, 0), (0, 1, 0)]
    top = [(x, y, 2) for x, y, _ in corners]
    box.add_3dface(corners)
    box.add_3dface(top)
    for i in range(4):
        j = (i + 1) % 4
        box.add_3dface([corners[i], corners[j], top[j], top[i]])
    tetra = doc.blocks.new("TETRA")
    points = [(0, 0, 0), (1, 0, 0), (0, 1, 0), (0, 0, 1)]
    for a, b, c in [(0, 1, 2), (0, 1, 3), (1, 2, 3), (0, 2, 3)]:
        tetra.add_3dface([points[a], points[b], points[c]])
    arm = doc.blocks.new("ARM", base_point=(1, 2, 3))
    arm.add_blockref("BOX", (2, 0, 0), dxfattribs={"rotation": 33, "xscale": 1.5, "yscale": 0.5, "zscale": 2})
    arm.add_blockref("TETRA", (0, 3, 1), dxfattribs={"rotation": -71.25, "extrusion": (0.3, -0.4, 0.866)})
    robot = doc.blocks.new("ROBOT")
    robot.add_blockref("ARM", (0, 0, 0), dxfattribs={"rotation": 90})
    robot.add_blockref("ARM", (5, 1, -2), dxfattribs={"xscale": -1, "rotation": 200, "extrusion": (0, 0, -1)})
    doc.blocks.new("UNUSED").add_3dface([(9, 9, 9), (8, 9, 9), (8, 8, 9)])


SPLINE_FIT = 4  # POLYLINE flag: a surface is fitted to the control frame
FITTED = 8  # VERTEX flag: a vertex of that surface
FRAME = 16  # VERTEX flag: a control point of the frame


def add_smoothed_mesh(layout, rng, frame, density, m_close, n_close):
    """A polygon mesh smoothed as CAD programs write one: its control frame,
    then the vertices of the fitted surface, density[0] by density[1]."""
    mesh = layout.add_polymesh(size=frame)
    for m in range(frame[0]):
        for n in range(frame[1]):
            mesh.set_mesh_vertex((m, n), (m, n, -5 + rng.random()), dxfattribs={"flags": FRAME})
    fitted = [(m * 0.5 + rng.random() * 0.1, n * 0.25, math.cos(m) * math.sin(n))
              for m in range(density[0]) for n in range(density[1])]
    mesh.append_vertices(fitted, dxfattribs={"flags": FITTED})
    mesh.close(m_close=m_close, n_close=n_close)
    mesh.dxf.flags |= SPLINE_FIT
    mesh.dxf.m_smooth_density, mesh.dxf.n_smooth_density = density
    mesh.dxf.smooth_type = 6


def add_smoothed_meshes(doc, msp, rng):
    """Smoothed meshes open and closed each way, and one in a turned block."""
    for m_close, n_close in [(False, False), (True, False), (False, True), (True, True)]:
        add_smoothed_mesh(msp, rng, (4, 3), (7, 5), m_close, n_close)
    add_smoothed_mesh(msp, rng, (6, 4), (10, 20), False, False)
    block = doc.blocks.new("SMOOTH")
    add_smoothed_mesh(block, rng, (3, 3), (6, 6), True, False)
    msp.add_blockref("SMOOTH", (3, -4, 1), dxfattribs={"rotation": 60, "xscale": 2, "extrusion": (0, 0.6, 0.8)})


def fitted_surface_faces(entity):
    """A smoothed mesh's faces as ezdxf draws a polygon mesh of the fitted
    vertices it read, closed as the smoothed mesh is."""
    fitted = [vertex.dxf.location for vertex in entity.vertices if vertex.dxf.flags & FITTED]
    m_count, n_count = entity.dxf.m_smooth_density, entity.dxf.n_smooth_density
    assert len(fitted) == m_count * n_count
    surface = ezdxf.new().modelspace().add_polymesh(size=(m_count, n_count))
    for index, location in enumerate(fitted):
        surface.set_mesh_vertex(divmod(index, n_count), location)
    surface.close(m_close=entity.is_m_closed, n_close=entity.is_n_closed)
    return surface.virtual_entities()


def add_meshes(msp, rng):
    polyface = msp.add_polyface()
    polyface.append_faces([[(0, 0, 0), (1, 0, 0), (1, 1, 0), (0, 1, 0)], [(0, 0, 0), (1, 0, 0), (0.5, 0.5, 1)]])
    polyface.optimize()
    for closed_m, closed_n in [(False, False), (True, False), (False, True), (True, True)]:
        mesh = msp.add_polymesh(size=(4, 3))
        for m in range(4):
            for n in range(3):
                mesh.set_mesh_vertex((m, n), (m + rng.random(), n * 1.5, math.sin(m + n)))
        if closed_m:
            mesh.close(m_close=True, n_close=False)
        if closed_n:
            mesh.close(m_close=closed_m, n_close=True)
    mesh = msp.add_mesh()
    with mesh.edit_data() as data:
        data.vertices = [(0, 0, 0), (2, 0, 0), (3, 1, 0.5), (2, 2, 1), (0, 2, 0), (1, 1, 3)]
        data.faces = [(0, 1, 2, 3, 4), (0, 1, 5), (1, 2, 3, 5), (0, 4)]


def robot_drawing(version):
    rng = random.Random(16)
    doc = ezdxf.new(version)
    add_blocks(doc)
    msp = doc.modelspace()
    msp.add_3dface([(-1, -1, 0), (-2, -1, 0), (-2, -2, 0.25), (-1, -2, 0)])
    msp.add_blockref("ROBOT", (10, 10, 0), dxfattribs={"xscale": 2, "yscale": 3, "zscale": 0.5, "rotation": 12.5})
    minsert = msp.add_blockref("BOX", (-10, 0, 0), dxfattribs={"rotation": 30, "xscale": 0.75})
    minsert.grid(size=(2, 3), spacing=(4, 5))  # 2 rows, 3 columns
    msp.add_blockref("TETRA", (0, 0, 5), dxfattribs={"extrusion": (1, 0, 0), "rotation": 45})
    msp.add_blockref("TETRA", (0, 0, 5), dxfattribs={"extrusion": (0.001, 0.002, 1), "zscale": -2})
    if version != "R12":
        add_meshes(msp, rng)
    else:
        mesh = msp.add_polymesh(size=(3, 3))
        for m in range(3):
            for n in range(3):
                mesh.set_mesh_vertex((m, n), (m, n, rng.random()))
    add_smoothed_meshes(doc, msp, rng)
    msp.add_line((0, 0), (1, 1))
    msp.add_3dface([(5, 5, 5), (6, 5, 5), (6, 6, 5)], dxfattribs={"paperspace": 0})
    doc.layout("Layout1").add_3dface([(7, 7, 7), (8, 7, 7), (8, 8, 7)])
    return doc


def mesh_faces(entity):
    """The faces of a MESH as ezdxf's MeshBuilder holds them, split as the
    converter splits faces: more than four corners as a fan of triangles."""
    builder = MeshBuilder.from_mesh(entity)
    vertices = builder.vertices
    for face in builder.faces:
        corners = [vertices[i] for i in face]
        if len(corners) < 3:
            continue
        if len(corners) <= 4:
            yield corners + corners[-1:] * (4 - len(corners))
        else:
            for i in range(1, len(corners) - 1):
                yield [corners[0], corners[i], corners[i + 1], corners[i + 1]]


def face3d_corners(face):
    names = ["vtx0", "vtx1", "vtx2", "vtx3"]
    present = [face.dxf.get(name) for name in names]
    # a virtual face of three corners has no fourth: the third repeats
    if present[3] is None:
        present[3] = present[2]
    return [tuple(present[i]) for i in range(4)]


def placed(corners, matrix):
    return corners if matrix is None else [tuple(matrix.transform(c)) for c in corners]


def faces_of(entities, matrix):
    """The faces of `entities` placed by `matrix` (None: world coordinates),
    block references followed through ezdxf's own placement matrices."""
    for entity in entities:
        kind = entity.dxftype()
        if kind == "INSERT":
            for copy in entity.multi_insert() if entity.mcount > 1 else [entity]:
                inner = copy.matrix44()
                yield from faces_of(copy.block(), inner if matrix is None else inner * matrix)
        elif kind == "3DFACE":
            yield placed(face3d_corners(entity), matrix)
        elif kind == "POLYLINE" and entity.is_polygon_mesh and entity.dxf.flags & SPLINE_FIT:
            for face in fitted_surface_faces(entity):
                yield placed(face3d_corners(face), matrix)
        elif kind == "POLYLINE" and (entity.is_poly_face_mesh or entity.is_polygon_mesh):
            for face in entity.virtual_entities():
                yield placed(face3d_corners(face), matrix)
        elif kind == "MESH":
            for corners in mesh_faces(entity):
                yield placed(corners, matrix)


def expected_faces(doc):
    return list(faces_of(doc.modelspace(), None))


def flattened_faces(path):
    doc = ezdxf.readfile(path)
    return [face3d_corners(face) for face in doc.modelspace().query("3DFACE")]


def compare(name, got, want):
    if len(got) != len(want):
        return [f"{name}: {len(got)} faces, ezdxf {len(want)}"]
    size = max(1.0, max(abs(c) for face in want for corner in face for c in corner))
    problems = []
    for index, (g, w) in enumerate(zip(got, want)):
        for corner in range(4):
            if any(abs(a - b) > TOLERANCE * size for a, b in zip(g[corner], w[corner])):
                problems.append(f"{name}: face {index} corner {corner}: {g[corner]} against ezdxf {w[corner]}")
    return problems[:10]


def flatten(tool, source, target):
    result = subprocess.run([tool, "flatten", str(source), "-o", str(target)], capture_output=True, text=True)
    if result.returncode != 0:
        raise SystemExit(f"FAIL: flatten {source}: exit {result.returncode}: {result.stderr}")
    return result.stderr


def main():
    tool, scratch = sys.argv[1], pathlib.Path(sys.argv[2])
    scratch.mkdir(parents=True, exist_ok=True)
    problems = []
    for version in ["R12", "R2000", "R2018"]:
        doc = robot_drawing(version)
        want = expected_faces(doc)
        text, binary = scratch / f"robot_{version}.dxf", scratch / f"robot_{version}_bin.dxf"
        doc.saveas(text)
        doc.saveas(binary, fmt="bin")
        report = flatten(tool, text, scratch / "text_out.dxf")
        flatten(tool, binary, scratch / "binary_out.dxf")
        problems += compare(version, flattened_faces(scratch / "text_out.dxf"), want)
        if (scratch / "text_out.dxf").read_bytes() != (scratch / "binary_out.dxf").read_bytes():
            problems.append(f"{version}: the binary file flattens to other bytes than its text")
        print(f"{version}: {len(want)} faces agree with ezdxf; {report.strip()}")
    if problems:
        print("\n".join(problems))
        print("FAIL")
        return 1
    print("ok: every face within", TOLERANCE, "of ezdxf's expansion")
    return 0


if __name__ == "__main__":
    sys.exit(main())

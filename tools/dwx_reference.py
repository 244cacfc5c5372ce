#!/usr/bin/python3
"""Reference encoder and decoder of DWX drawing files, versions 201 to 204.

Kept apart from the installer's C++ reader and writer on purpose: it is written from the
description of the byte layout alone, makes the test fixtures, the fuzz seeds and the benchmark
file, and decodes what the C++ writer produced, so the two implementations check each other.

Two levels:
  * the file level (encode, decode): a JSON-able description of exactly the fields a file holds;
  * the object level (load_object, save_object, convert): what the drawing object holds after
    reading a file and what a file of another version gets from it, including the values that
    one version derives for another (dimension tenths, scale, scaled 16-bit points).

File description (keys used by the versions named):
  version                     201..204
  dimensionTenths [3 x int16] 201..203 header
  dimensions [3 x float32]    204 header
  records [hex, 12 bytes]     201 only, read and dropped by readers
  scale, scaleDimensions      201..203 scale block
  circles, lines, arcs        202..204: [{name, value, records: [hex | fill byte]}]
  polylines                   202..204: [{name, value, polylines: [{flag, block, vertices:
                              [[x, y, z, value], ...]}]}]
  meshes                      [{name, value, points: [[x, y, z], ...],
                              faces: [[flag, i0, i1, i2, i3], ...]}]
A name may instead be given as nameField, the 32 bytes of the field in hex. Points are the stored
numbers: int16 in 201..203, float32 in 204.

Command line:
  dwx_reference.py encode DESCRIPTION.json OUT.dwx
  dwx_reference.py decode IN.dwx                   (description as JSON on standard output)
  dwx_reference.py convert IN.dwx OUT.dwx VERSION  (load as the object, save as VERSION)
  dwx_reference.py count-fields IN.dwx             (offset, width and meaning of every count)
  dwx_reference.py large OUT.dwx MEGABYTES         (a large version-204 file)
  dwx_reference.py seeds FOLDER                    (tiny files of every version)
"""

import array
import json
import math
import struct
import sys

NAME_FIELD = 32
RESERVED_MESH_BLOCK = 57  # 10 x 1 byte, 5 x 2 bytes, 5 x 1 byte, 32 bytes
UNIT_WORDS = 4
RECORD_SIZES = {"circles": 56, "lines": 48, "arcs": 72}
LAYER_KINDS = ("circles", "lines", "polylines", "arcs")  # file order
MAX_U16 = 0xFFFF
MAX_U24 = 0xFFFFFF
MAX_U32 = 0xFFFFFFFF


class FormatError(ValueError):
    """The bytes are not a well-formed DWX file."""


class Refused(ValueError):
    """The object cannot be written in the version asked for."""


def f32(x):
    """x rounded to the nearest float32, as IEEE arithmetic would (overflow gives infinity)."""
    if math.isnan(x) or math.isinf(x):
        return x
    try:
        return struct.unpack("<f", struct.pack("<f", x))[0]
    except OverflowError:
        return math.copysign(math.inf, x)


def ieee_div(a, b):
    if b == 0:
        if a == 0 or math.isnan(a):
            return math.nan
        return math.copysign(math.inf, a) * math.copysign(1.0, b)
    return a / b


def index_width(point_count):
    """Bytes of a version-204 vertex index in a mesh of point_count points."""
    if point_count <= 0xFF:
        return 1
    if point_count <= MAX_U16:
        return 2
    if point_count <= MAX_U24:
        return 3
    return 4


# ---------------------------------------------------------------- byte level


class Out:
    def __init__(self):
        self.b = bytearray()

    def raw(self, data):
        self.b += data

    def u8(self, v):
        self.b += struct.pack("<B", v)

    def u16(self, v):
        self.b += struct.pack("<H", v)

    def i16(self, v):
        self.b += struct.pack("<h", v)

    def u24(self, v):
        self.b += struct.pack("<I", v)[:3]

    def u32(self, v):
        self.b += struct.pack("<I", v)

    def i32(self, v):
        self.b += struct.pack("<i", v)

    def f32(self, v):
        self.b += struct.pack("<f", v)

    def f64(self, v):
        self.b += struct.pack("<d", v)

    def uint(self, v, width):
        self.b += v.to_bytes(width, "little")


class In:
    def __init__(self, data, count_fields=None):
        self.data = bytes(data)
        self.pos = 0
        self.count_fields = count_fields

    def take(self, n):
        if self.pos + n > len(self.data):
            raise FormatError("file ends at %d inside a field of %d bytes at %d"
                              % (len(self.data), n, self.pos))
        chunk = self.data[self.pos:self.pos + n]
        self.pos += n
        return chunk

    def unpack(self, fmt):
        return struct.unpack(fmt, self.take(struct.calcsize(fmt)))[0]

    def uint(self, width):
        return int.from_bytes(self.take(width), "little")

    def count(self, width, label):
        if self.count_fields is not None:
            self.count_fields.append((self.pos, width, label))
        return self.uint(width)

    def end(self):
        if self.pos != len(self.data):
            raise FormatError("%d bytes follow the last mesh" % (len(self.data) - self.pos))


def name_field(entry):
    if "nameField" in entry:
        field = bytes.fromhex(entry["nameField"])
        if len(field) != NAME_FIELD:
            raise ValueError("a name field has 32 bytes")
        return field
    name = entry.get("name", "").encode("utf-8", "surrogateescape")
    if len(name) > NAME_FIELD - 1:
        raise Refused("name %r is longer than 31 bytes" % entry.get("name"))
    return name + bytes(NAME_FIELD - len(name))


def read_name(inp):
    field = inp.take(NAME_FIELD)
    end = field.find(b"\0")
    if end < 0:
        raise FormatError("a name field holds no terminating zero byte")
    return field[:end].decode("utf-8", "surrogateescape")


def record_bytes(record, size):
    if isinstance(record, int):
        return bytes([record]) * size
    data = bytes.fromhex(record)
    if len(data) != size:
        raise ValueError("a record has %d bytes" % size)
    return data


# ---------------------------------------------------------------- file level: encode


def encode(desc):
    version = desc["version"]
    out = Out()
    out.raw(b"DWX")
    out.u8(version)
    if version == 201:
        encode_201(desc, out)
        return bytes(out.b)
    if version == 204:
        for v in desc.get("dimensions", [0.0, 0.0, 0.0]):
            out.f32(v)
    else:
        for v in desc.get("dimensionTenths", [0, 0, 0]):
            out.i16(v)
    encode_layers(desc, out)
    if version in (202, 203):
        out.f32(desc.get("scale", 1.0))
        for v in desc.get("scaleDimensions", [0.0, 0.0, 0.0]):
            out.f32(v)
    meshes = desc.get("meshes", [])
    if version == 202:
        out.u8(len(meshes))
    else:
        out.u32(len(meshes))
    for mesh in meshes:
        encode_mesh(mesh, version, out)
    return bytes(out.b)


def encode_layers(desc, out):
    for kind in LAYER_KINDS:
        layers = desc.get(kind, [])
        out.u32(len(layers))
        for layer in layers:
            out.raw(name_field(layer))
            out.i32(layer.get("value", 0))
            if kind == "polylines":
                polylines = layer.get("polylines", [])
                out.u32(len(polylines))
                for poly in polylines:
                    vertices = poly.get("vertices", [])
                    out.u32(len(vertices))
                    out.u8(poly.get("flag", 0))
                    out.raw(record_bytes(poly.get("block", 0), 24))
                    for x, y, z, value in vertices:
                        out.f64(x)
                        out.f64(y)
                        out.f64(z)
                        out.f64(value)
            else:
                records = layer.get("records", [])
                out.u32(len(records))
                for record in records:
                    out.raw(record_bytes(record, RECORD_SIZES[kind]))


def encode_mesh(mesh, version, out):
    points = mesh.get("points", [])
    faces = mesh.get("faces", [])
    out.raw(name_field(mesh))
    out.i32(mesh.get("value", 0))
    if version != 204:
        out.raw(bytes(RESERVED_MESH_BLOCK))
        out.i16(1)
        out.i16(1)
    count_width = {201: 2, 202: 2, 203: 3, 204: 4}[version]
    out.uint(len(points), count_width)
    for point in points:
        for v in point:
            if version == 204:
                out.f32(v)
            else:
                out.i16(v)
    out.uint(len(faces), count_width)
    for face in faces:
        out.u8(face[0])
    width = index_width(len(points)) if version == 204 else count_width
    for face in faces:
        for index in face[1:5]:
            out.uint(index, width)


def encode_201(desc, out):
    for v in desc.get("dimensionTenths", [0, 0, 0]):
        out.i16(v)
    records = desc.get("records", [])
    out.i32(len(records))
    for record in records:
        out.raw(record_bytes(record, 12))
    out.f32(desc.get("scale", 1.0))
    for v in desc.get("scaleDimensions", [0.0, 0.0, 0.0]):
        out.f32(v)
    meshes = desc.get("meshes", [])
    out.u8(len(meshes))
    for mesh in meshes:
        encode_mesh(mesh, 201, out)


# ---------------------------------------------------------------- file level: decode


def decode(data, count_fields=None):
    """The description of a well-formed file; FormatError for anything else."""
    inp = In(data, count_fields)
    if inp.take(3) != b"DWX":
        raise FormatError("no DWX magic")
    version = inp.unpack("<B")
    desc = {"version": version}
    if version == 201:
        decode_201(inp, desc)
        inp.end()
        return desc
    if version not in (202, 203, 204):
        raise FormatError("no layout for version %d" % version)
    if version == 204:
        desc["dimensions"] = [dimension(inp) for _ in range(3)]
    else:
        desc["dimensionTenths"] = [inp.unpack("<h") for _ in range(3)]
    for kind in LAYER_KINDS:
        layers = []
        for _ in range(inp.count(4, kind)):
            layer = {"name": read_name(inp), "value": inp.unpack("<i")}
            if kind == "polylines":
                polylines = []
                for _ in range(inp.count(4, "polyline count")):
                    vertex_count = inp.count(4, "polyline vertex count")
                    poly = {"flag": inp.unpack("<B"), "block": inp.take(24).hex()}
                    poly["vertices"] = [list(struct.unpack("<4d", inp.take(32)))
                                        for _ in range(vertex_count)]
                    polylines.append(poly)
                layer["polylines"] = polylines
            else:
                size = RECORD_SIZES[kind]
                layer["records"] = [inp.take(size).hex()
                                    for _ in range(inp.count(4, kind + " records"))]
            layers.append(layer)
        desc[kind] = layers
    if version in (202, 203):
        desc["scale"] = inp.unpack("<f")
        desc["scaleDimensions"] = [dimension(inp) if version == 203 else inp.unpack("<f")
                                   for _ in range(3)]
    mesh_count = inp.count(1 if version == 202 else 4, "mesh count")
    desc["meshes"] = [decode_mesh(inp, version) for _ in range(mesh_count)]
    inp.end()
    return desc


def dimension(inp):
    """A dimension the object takes from the file; NaN makes the file malformed."""
    value = inp.unpack("<f")
    if math.isnan(value):
        raise FormatError("a dimension is not a number")
    return value


def decode_mesh(inp, version):
    mesh = {"name": read_name(inp), "value": inp.unpack("<i")}
    if version != 204:
        inp.take(RESERVED_MESH_BLOCK + UNIT_WORDS)
    count_width = {201: 2, 202: 2, 203: 3, 204: 4}[version]
    point_count = inp.count(count_width, "point count")
    if version == 204:
        mesh["points"] = [list(struct.unpack("<3f", inp.take(12))) for _ in range(point_count)]
    else:
        mesh["points"] = [list(struct.unpack("<3h", inp.take(6))) for _ in range(point_count)]
    face_count = inp.count(count_width, "face count")
    if point_count == 0 and face_count != 0:
        raise FormatError("a mesh has faces but no points")
    flags = inp.take(face_count)
    width = index_width(point_count) if version == 204 else count_width
    mesh["faces"] = [[flags[f]] + [inp.uint(width) for _ in range(4)] for f in range(face_count)]
    return mesh


def decode_201(inp, desc):
    desc["dimensionTenths"] = [inp.unpack("<h") for _ in range(3)]
    record_count = inp.unpack("<i")
    if count_fields_wanted(inp):
        inp.count_fields.append((inp.pos - 4, 4, "record count"))
    desc["records"] = [inp.take(12).hex() for _ in range(max(record_count, 0))]
    desc["scale"] = inp.unpack("<f")
    desc["scaleDimensions"] = [inp.unpack("<f") for _ in range(3)]
    mesh_count = inp.count(1, "mesh count")
    desc["meshes"] = [decode_mesh(inp, 201) for _ in range(mesh_count)]


def count_fields_wanted(inp):
    return inp.count_fields is not None


# ---------------------------------------------------------------- object level


def tenths_of(dimension):
    """Header tenths derived from a version-204 dimension: low 16 bits of trunc(d x 10)."""
    product = dimension * 10.0  # float32 x 10 is exact in a double
    if not math.isfinite(product):
        return 0
    low = math.trunc(product) & 0xFFFF
    return low - 0x10000 if low >= 0x8000 else low


def stored_coordinate(coordinate, scale):
    """The int16 that stores a vertex coordinate in versions 202 and 203.

    coordinate x scale, truncated toward zero. A coordinate that is exactly the reader's image
    (the float32 of n / scale) of the next integer n away from zero stores n, so that a scaled
    file read and written again keeps its points.
    """
    product = coordinate * scale  # float32 x float32 is exact in a double
    if not math.isfinite(product):
        raise Refused("coordinate %r with scale %r is not finite" % (coordinate, scale))
    whole = math.trunc(product)
    if whole != product and scale != 1.0:
        away = whole + (1 if product > 0 else -1)
        if abs(away) <= 32768 and f32(ieee_div(float(away), scale)) == coordinate:
            whole = away
    if not -32768 <= whole <= 32767:
        raise Refused("coordinate %r with scale %r does not fit 16 bits" % (coordinate, scale))
    return whole


def load_object(data):
    """The drawing object a reader builds from a file: dict with version, dimensionTenths,
    dimensions, definitionDimensions, scale, the four layer lists as in the description, and
    meshes with float32 vertices, corners and faces."""
    desc = decode(data)
    version = desc["version"]
    obj = {"version": version}
    for kind in LAYER_KINDS:
        obj[kind] = desc.get(kind, [])
    if version == 204:
        dims = list(desc["dimensions"])
        obj["dimensions"] = dims
        obj["dimensionTenths"] = [tenths_of(d) for d in dims]
        obj["scale"] = 1.0
    else:
        obj["dimensionTenths"] = list(desc["dimensionTenths"])
        obj["scale"] = desc["scale"]
        if version == 203:
            obj["dimensions"] = list(desc["scaleDimensions"])
        else:
            obj["dimensions"] = [f32(t / 10.0) for t in desc["dimensionTenths"]]
    shift = obj["dimensions"] if version == 201 else [0.0, 0.0, 0.0]
    meshes = []
    for mesh in desc["meshes"]:
        if version == 204:
            vertices = [list(p) for p in mesh["points"]]
        else:
            vertices = [[f32(ieee_div(float(v), obj["scale"])) for v in p] for p in mesh["points"]]
        for face in mesh["faces"]:
            if any(i >= len(vertices) for i in face[1:5]):
                raise FormatError("a face names a vertex its mesh does not have")
        corners = [[[f32(vertices[i][k] - shift[k]) for k in range(3)] for i in face[1:5]]
                   for face in mesh["faces"]]
        meshes.append({"name": mesh["name"], "value": mesh["value"], "vertices": vertices,
                       "faces": [list(f) for f in mesh["faces"]], "corners": corners})
    obj["meshes"] = meshes
    if version == 201:
        obj["dimensions"] = [0.0, 0.0, 0.0]
        obj["dimensionTenths"] = [0, 0, 0]
    obj["definitionDimensions"] = list(obj["dimensions"])
    return obj


def save_object(obj, version):
    """The bytes a writer produces for the object as version 202 (up to 202), 203 or 204
    (204 and up); Refused when that version cannot hold the object."""
    if not obj["meshes"]:
        raise Refused("an object without a mesh is not written")
    layout = 202 if version <= 202 else 203 if version == 203 else 204
    most = {202: MAX_U16, 203: MAX_U24, 204: MAX_U32}[layout]
    if layout == 202 and len(obj["meshes"]) > 0xFF:
        raise Refused("more than 255 meshes")
    desc = {"version": layout}
    for kind in LAYER_KINDS:
        desc[kind] = obj[kind]
    if layout == 204:
        desc["dimensions"] = obj["definitionDimensions"]
    else:
        if layout == 202:
            # Version 202 keeps the dimensions only as 16-bit tenths.
            for d in obj["dimensions"]:
                product = d * 10.0
                if not (math.isfinite(product) and -32768 <= math.trunc(product) <= 32767):
                    raise Refused("dimension %r does not fit 16-bit tenths" % d)
        desc["dimensionTenths"] = obj["dimensionTenths"]
        desc["scale"] = obj["scale"]
        desc["scaleDimensions"] = obj["dimensions"]
    meshes = []
    for mesh in obj["meshes"]:
        vertices = mesh["vertices"]
        if len(vertices) > most or len(mesh["faces"]) > most:
            raise Refused("a mesh has more points or faces than version %d counts" % layout)
        width = index_width(len(vertices)) if layout == 204 else {202: 2, 203: 3}[layout]
        for face in mesh["faces"]:
            for index in face[1:5]:
                if index & MAX_U32 >= 1 << (8 * width):
                    raise Refused("index %d does not fit %d bytes" % (index, width))
        if layout == 204:
            points = vertices
        else:
            points = [[stored_coordinate(v, obj["scale"]) for v in p] for p in vertices]
        meshes.append({"name": mesh["name"], "value": mesh["value"], "points": points,
                       "faces": mesh["faces"]})
    desc["meshes"] = meshes
    return encode(desc)


def convert(data, version):
    return save_object(load_object(data), version)


# ---------------------------------------------------------------- generated files


def grid_mesh_bytes(name, columns, rows, value=0):
    """One version-204 mesh of columns x rows points, two three-cornered faces per cell (the
    fourth index repeats the third), coordinates with fractions and both signs."""
    points = array.array("f")
    for r in range(rows):
        y = r * 0.73 - 41.3
        for c in range(columns):
            points.extend((c * 1.37 - 97.1, y, (c * r) % 17 * 0.35 - 2.6))
    indices = array.array("I")
    for r in range(rows - 1):
        base = r * columns
        for c in range(columns - 1):
            a, b = base + c, base + c + 1
            d, e = a + columns, b + columns
            indices.extend((a, b, e, e, a, e, d, d))
    if sys.byteorder != "little":
        points.byteswap()
        indices.byteswap()
    point_count = columns * rows
    face_count = len(indices) // 4
    packed = strip_index_bytes(bytearray(indices.tobytes()), index_width(point_count))
    out = Out()
    out.raw(name_field({"name": name}))
    out.i32(value)
    out.u32(point_count)
    out.raw(points.tobytes())
    out.u32(face_count)
    out.raw(bytes((f % 3) for f in range(face_count)))
    out.raw(packed)
    return bytes(out.b)


def strip_index_bytes(packed, width):
    """Keeps the low `width` bytes of every little-endian uint32 in packed."""
    for size in range(4, width, -1):
        del packed[size - 1::size]
    return bytes(packed)


def large_file(megabytes):
    """A version-204 file of about `megabytes` MB: a few small layers and as many copies of a
    75,000-point mesh (3-byte indices) as the size asks for."""
    head = {"version": 204, "dimensions": [1234.5, 600.0, -85.25],
            "circles": [{"name": "Circles", "value": 1, "records": [7, 9]}],
            "lines": [{"name": "Lines", "value": 2, "records": [3]}],
            "polylines": [{"name": "Outline", "value": 3, "polylines": [
                {"flag": 1, "block": 5, "vertices": [[0.5, 1.5, 2.5, 0.0], [3.5, 4.5, 5.5, 1.0]]}]}],
            "arcs": [{"name": "Arcs", "value": 4, "records": [1]}]}
    head_bytes = encode(head)[:-4]  # everything before the mesh count
    mesh = grid_mesh_bytes("Grid", 300, 250)
    copies = max(1, int(megabytes * 1e6) // len(mesh))
    return head_bytes + struct.pack("<I", copies) + mesh * copies


def seed_descriptions():
    face = [[1, 0, 1, 2, 3]]
    square_ints = [[0, 0, 0], [100, 0, 0], [100, 100, 0], [0, 100, 5]]
    return {
        "v201.dwx": {"version": 201, "dimensionTenths": [100, 200, -50], "records": [1],
                     "scale": 10.0, "meshes": [{"name": "M", "value": 3,
                                                "points": square_ints, "faces": face}]},
        "v202.dwx": {"version": 202, "dimensionTenths": [600, -25, 0], "scale": 10.0,
                     "circles": [{"name": "C", "value": 1, "records": [2]}],
                     "meshes": [{"name": "M", "value": 3, "points": square_ints,
                                 "faces": face}]},
        "v203.dwx": {"version": 203, "dimensionTenths": [600, 560, 850], "scale": 10.0,
                     "scaleDimensions": [12.5, 3.0, 7.0],
                     "polylines": [{"name": "P", "value": 2, "polylines": [
                         {"flag": 1, "block": 0, "vertices": [[1.0, 2.0, 3.0, 4.0]]}]}],
                     "meshes": [{"name": "M", "value": 3, "points": square_ints,
                                 "faces": [[2, 3, 2, 1, 0]]}]},
        "v204.dwx": {"version": 204, "dimensions": [12.34, 0.0, -5.0],
                     "lines": [{"name": "L", "value": 1, "records": [4]}],
                     "arcs": [{"name": "A", "value": 1, "records": []}],
                     "meshes": [{"name": "M", "value": 3,
                                 "points": [[0.5, 0.0, 0.0], [1.9, 0.0, 0.0], [1.0, -1.9, 0.0],
                                            [0.0, 1.0, 2.0]], "faces": face}]},
    }


# ---------------------------------------------------------------- command line


def main(argv):
    if len(argv) < 2:
        sys.stderr.write(__doc__)
        return 2
    command = argv[1]
    if command == "encode" and len(argv) == 4:
        with open(argv[2], encoding="utf-8") as f:
            desc = json.load(f)
        with open(argv[3], "wb") as f:
            f.write(encode(desc))
    elif command == "decode" and len(argv) == 3:
        with open(argv[2], "rb") as f:
            json.dump(decode(f.read()), sys.stdout)
        sys.stdout.write("\n")
    elif command == "convert" and len(argv) == 5:
        with open(argv[2], "rb") as f:
            data = convert(f.read(), int(argv[4]))
        with open(argv[3], "wb") as f:
            f.write(data)
    elif command == "count-fields" and len(argv) == 3:
        fields = []
        with open(argv[2], "rb") as f:
            decode(f.read(), fields)
        for offset, width, label in fields:
            print(offset, width, label)
    elif command == "large" and len(argv) == 4:
        with open(argv[2], "wb") as f:
            f.write(large_file(float(argv[3])))
    elif command == "seeds" and len(argv) == 3:
        for name, desc in seed_descriptions().items():
            with open(argv[2] + "/" + name, "wb") as f:
                f.write(encode(desc))
    else:
        sys.stderr.write(__doc__)
        return 2
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv))
    except (FormatError, Refused) as problem:
        sys.stderr.write("dwx_reference: %s\n" % problem)
        sys.exit(1)

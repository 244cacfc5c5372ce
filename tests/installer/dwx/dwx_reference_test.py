"""Pins the reference DWX encoder and decoder to the sizes and values the file format fixes."""

import math
import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.environ.get(
    "DBI_SOURCE_DIR", os.path.join(os.path.dirname(__file__), "..", "..", "..")), "tools"))

import dwx_reference as dwx  # noqa: E402

QUAD = {"name": "Quad", "value": 1, "faces": [[0, 0, 1, 2, 3]]}


def one_mesh(version, points):
    return {"version": version, "scale": 1.0, "meshes": [dict(QUAD, points=points)]}


class FixedSizes(unittest.TestCase):
    def test_one_mesh_of_four_points_and_one_face(self):
        ints = [[0, 0, 0]] * 4
        self.assertEqual(len(dwx.encode(one_mesh(204, [[0.0, 0.0, 0.0]] * 4))), 133)
        self.assertEqual(len(dwx.encode(one_mesh(203, ints))), 186)
        self.assertEqual(len(dwx.encode(one_mesh(202, ints))), 177)

    def test_empty_version_204_file_is_36_bytes(self):
        self.assertEqual(len(dwx.encode({"version": 204})), 36)

    def test_polyline_without_vertices_is_29_bytes(self):
        plain = dwx.encode({"version": 204, "polylines": [{"name": "p", "polylines": []}]})
        one = dwx.encode({"version": 204, "polylines": [{"name": "p", "polylines": [{}]}]})
        self.assertEqual(len(one) - len(plain), 29)

    def test_version_201_length(self):
        desc = {"version": 201, "records": [0, 1, 2], "scale": 1.0, "meshes": [
            {"points": [[0, 0, 0]] * 5, "faces": [[0, 0, 0, 0, 0]] * 2},
            {"points": [], "faces": []}]}
        self.assertEqual(len(dwx.encode(desc)), 31 + 12 * 3 + (101 + 30 + 18) + 101)

    def test_magic_and_version_bytes(self):
        for version, byte in ((202, 0xCA), (203, 0xCB), (204, 0xCC)):
            self.assertEqual(dwx.encode({"version": version})[:4], b"DWX" + bytes([byte]))

    def test_empty_name_is_a_zero_and_31_bytes(self):
        data = dwx.encode({"version": 204, "lines": [{"name": "", "value": 0}]})
        self.assertEqual(data[24:56], bytes(32))  # after the header and two layer counts


class IndexWidth(unittest.TestCase):
    def test_width_follows_the_point_count(self):
        for count, width in ((0, 1), (255, 1), (256, 2), (65535, 2), (65536, 3),
                             (16777215, 3), (16777216, 4)):
            self.assertEqual(dwx.index_width(count), width, count)

    def test_255_and_256_points(self):
        for count, width in ((255, 1), (256, 2)):
            data = dwx.encode(one_mesh(204, [[0.0, 0.0, 0.0]] * count))
            self.assertEqual(len(data), 36 + 32 + 4 + 4 + 12 * count + 4 + 1 + 4 * width)

    def test_version_203_counts_have_three_bytes(self):
        data = dwx.encode({"version": 203, "scale": 1.0,
                           "meshes": [{"points": [[0, 0, 0]] * 65536, "faces": []}]})
        start = 10 + 16 + 16 + 4 + 32 + 4 + 61
        self.assertEqual(data[start:start + 3], b"\x00\x00\x01")


class DerivedValues(unittest.TestCase):
    def test_scaled_coordinates_truncate_toward_zero(self):
        self.assertEqual(dwx.stored_coordinate(1.25, 10.0), 12)
        self.assertEqual(dwx.stored_coordinate(-1.25, 10.0), -12)
        self.assertEqual(dwx.stored_coordinate(dwx.f32(1.9), 1.0), 1)
        self.assertEqual(dwx.stored_coordinate(dwx.f32(-1.9), 1.0), -1)

    def test_every_stored_value_comes_back(self):
        for scale in (10.0, dwx.f32(7.3), dwx.f32(0.1)):
            for stored in range(-32768, 32768, 7):
                read = dwx.f32(stored / scale)
                self.assertEqual(dwx.stored_coordinate(read, scale), stored, (scale, stored))

    def test_coordinates_beyond_16_bits_are_refused(self):
        for value in (3276.8, -3277.0, math.inf, math.nan):
            with self.assertRaises(dwx.Refused):
                dwx.stored_coordinate(dwx.f32(value), 10.0)

    def test_tenths_of_version_204_dimensions(self):
        self.assertEqual([dwx.tenths_of(dwx.f32(d)) for d in (12.34, 0.0, -5.0)], [123, 0, -50])
        self.assertEqual(dwx.tenths_of(4000.0), 40000 - 65536)
        self.assertEqual(dwx.tenths_of(math.nan), 0)

    def test_version_202_dimensions_come_from_tenths(self):
        data = dwx.encode({"version": 202, "dimensionTenths": [600, -25, 0], "scale": 10.0,
                           "scaleDimensions": [1.0, 2.0, 3.0],
                           "meshes": [dict(QUAD, points=[[100, -200, 5]] * 4)]})
        obj = dwx.load_object(data)
        self.assertEqual(obj["dimensions"], [60.0, -2.5, 0.0])
        self.assertEqual(obj["meshes"][0]["vertices"][0], [10.0, -20.0, 0.5])

    def test_version_201_corners_are_shifted(self):
        data = dwx.encode({"version": 201, "dimensionTenths": [100, 200, -50], "scale": 1.0,
                           "meshes": [dict(QUAD, points=[[10, 20, 0]] * 4)]})
        obj = dwx.load_object(data)
        self.assertEqual(obj["meshes"][0]["vertices"][0], [10.0, 20.0, 0.0])
        self.assertEqual(obj["meshes"][0]["corners"][0][0], [0.0, 0.0, 5.0])
        self.assertEqual(obj["dimensions"], [0.0, 0.0, 0.0])

    def test_version_204_to_203(self):
        source = dwx.encode({"version": 204, "dimensions": [12.34, 0.0, -5.0],
                             "meshes": [dict(QUAD, points=[[1.9, -1.9, 0.5]] * 4)]})
        converted = dwx.decode(dwx.convert(source, 203))
        self.assertEqual(converted["dimensionTenths"], [123, 0, -50])
        self.assertEqual(converted["scale"], 1.0)
        self.assertEqual(converted["scaleDimensions"], [dwx.f32(12.34), 0.0, -5.0])
        self.assertEqual(converted["meshes"][0]["points"][0], [1, -1, 0])


class Decoding(unittest.TestCase):
    def test_encode_decode_round_trip(self):
        for name, desc in dwx.seed_descriptions().items():
            data = dwx.encode(desc)
            self.assertEqual(dwx.encode(dwx.decode(data)), data, name)

    def test_cut_files_and_trailing_bytes_are_malformed(self):
        data = dwx.encode(dwx.seed_descriptions()["v204.dwx"])
        for cut in range(len(data)):
            with self.assertRaises(dwx.FormatError):
                dwx.decode(data[:cut])
        with self.assertRaises(dwx.FormatError):
            dwx.decode(data + b"\0")

    def test_name_without_terminator_is_malformed(self):
        field = (b"N" * 32).hex()
        data = dwx.encode({"version": 204, "lines": [{"nameField": field}]})
        with self.assertRaises(dwx.FormatError):
            dwx.decode(data)

    def test_large_file_decodes_with_three_byte_indices(self):
        decoded = dwx.decode(dwx.large_file(3))
        mesh = decoded["meshes"][0]
        self.assertEqual(len(mesh["points"]), 75000)
        self.assertEqual(max(max(face[1:]) for face in mesh["faces"]), 74999)

if __name__ == "__main__":
    unittest.main()

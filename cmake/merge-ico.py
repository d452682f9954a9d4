#!/usr/bin/python3
"""Joins the images of several .ico files into one, smallest first.

icotool writes one bit depth per file, but the program's icon mixes them: a 24-bit
32 x 32 image with a 1-bit mask beside 32-bit images with alpha. Standard library only.

    merge-ico.py OUTPUT.ico INPUT.ico [INPUT.ico ...]
"""
import struct
import sys

HEADER = struct.Struct("<HHH")  # reserved, type (1 = icon), count
ENTRY = struct.Struct("<BBBBHHII")  # width, height, colours, reserved, planes, bits, size, offset


def read_images(path):
    with open(path, "rb") as f:
        data = f.read()
    reserved, kind, count = HEADER.unpack_from(data, 0)
    if reserved != 0 or kind != 1:
        sys.exit(f"{path}: not an icon file")
    for i in range(count):
        width, height, colours, _, planes, bits, size, offset = ENTRY.unpack_from(
            data, HEADER.size + i * ENTRY.size)
        image = data[offset:offset + size]
        if len(image) != size:
            sys.exit(f"{path}: image {i + 1} is cut short")
        yield (width or 256, height or 256, colours, planes, bits, image)


def main(output, inputs):
    images = sorted((image for path in inputs for image in read_images(path)),
                    key=lambda image: (image[0], image[4]))
    offset = HEADER.size + len(images) * ENTRY.size
    directory = [HEADER.pack(0, 1, len(images))]
    for width, height, colours, planes, bits, image in images:
        # A 256-pixel side is written as 0 in the one-byte fields.
        directory.append(ENTRY.pack(width % 256, height % 256, colours, 0, planes, bits,
                                    len(image), offset))
        offset += len(image)
    with open(output, "wb") as f:
        f.write(b"".join(directory))
        f.writelines(image[5] for image in images)


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2:])

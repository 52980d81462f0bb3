# The benchmark tree: sizes spread from a few bytes to a few MiB (many small files, a few large ones), in nested
# folders, some names in Japanese. Always the same tree for the same arguments.
#   python3 bench/make_tree.py <folder> <files> <megabytes>
import os, random, sys
root, count, total = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]) << 20
rng = random.Random(1)
weights = [rng.paretovariate(1.2) for _ in range(count)]
scale = total / sum(weights)
sizes = [max(1, int(w * scale)) for w in weights]
sizes[-1] += total - sum(sizes)
block = os.urandom(1 << 20)
for i, size in enumerate(sizes):
    folder = os.path.join(root, "d%02d" % (i % 37), ("写真" if i % 5 == 0 else "sub%d" % (i % 7)))
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "file%05d.bin" % i), "wb") as f:
        f.write(i.to_bytes(8, "little"))
        size -= min(size, 8)
        while size > 0:
            n = min(size, len(block))
            f.write(block[:n])
            size -= n

# Generates a benchmark tree: bench-tree.py ROOT FOLDERS FILES JUNK_SHARE SHARED_NAMES
# Files get unique names except for a share of junk types and, when SHARED_NAMES > 0, about a
# tenth of the files drawn from that many names, each with the same content wherever it occurs.
import os, random, sys, time

root, folders_wanted, files, junk_share, shared = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), float(sys.argv[4]), int(sys.argv[5])
rng = random.Random(20261207)
plain = [".txt", ".dll", ".exe", ".ini", ".html", ".jpeg", ".png", ".cab", ""]
junk = [".bak", ".tmp", ".old", ".chk", ".gid", ".log"]
folders = [root]
while len(folders) < folders_wanted:
    parent = rng.choice(folders[-200:] if rng.random() < 0.5 else folders)
    path = os.path.join(parent, f"folder{len(folders)}")
    os.mkdir(path)
    folders.append(path)
yesterday = time.time() - 86400
junk_files = shared_files = 0
for n in range(files):
    if shared and rng.random() < 0.1:
        name = f"common{rng.randrange(shared)}.dat"
        content = name.encode()
        shared_files += 1
    else:
        is_junk = rng.random() < junk_share
        junk_files += is_junk
        name = f"file{n}" + rng.choice(junk if is_junk else plain)
        content = b"x" * rng.randrange(0, 2048)
    path = os.path.join(rng.choice(folders), name)
    with open(path, "wb") as f:
        f.write(content)
    os.utime(path, (yesterday, yesterday))
print(f"tree: {len(folders) - 1} folders, {files} files, {junk_files} junk, {shared_files} under {shared} shared names")

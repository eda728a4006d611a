#!/usr/bin/python3
"""A network share whose server stops answering, for the drive tests.

    hung_fs.py MOUNT_POINT HANG_FILE

Mounts an empty FUSE file system of type fuse.sshfs (a network share to the
widget) that reports 777 GiB, none of it used, until HANG_FILE exists; from
then on its statfs never returns, as a share whose server went away. Runs in
the foreground until killed. Needs root, /dev/fuse and Debian's
python3-fusepy.
"""
import errno
import os
import stat
import sys
import threading
import time

import fusepy

GIB_BLOCKS = (1 << 30) // 4096


class HungShare(fusepy.Operations):
    def __init__(self, hang_file):
        self.hang_file = hang_file
        self.never = threading.Event()

    def getattr(self, path, fh=None):
        if path != "/":
            raise fusepy.FuseOSError(errno.ENOENT)
        now = time.time()
        return {"st_mode": stat.S_IFDIR | 0o755, "st_nlink": 2,
                "st_atime": now, "st_mtime": now, "st_ctime": now}

    def readdir(self, path, fh):
        return [".", ".."]

    def statfs(self, path):
        if os.path.exists(self.hang_file):
            self.never.wait()
        blocks = 777 * GIB_BLOCKS
        return {"f_bsize": 4096, "f_frsize": 4096, "f_blocks": blocks,
                "f_bfree": blocks, "f_bavail": blocks}


if __name__ == "__main__":
    mount_point, hang_file = sys.argv[1:3]
    fusepy.FUSE(HungShare(hang_file), mount_point, foreground=True,
                fsname="pelmora-test:/share", subtype="sshfs")

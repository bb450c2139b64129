"""plain_zip.py ZIP: writes ZIP again with nothing of the machine that built it.

Each entry keeps its name, contents and permissions; the entries come in the
order of their names, their time becomes SOURCE_DATE_EPOCH, and the owner's
user and group numbers that the archiver records for Unix are left out.
"""
import os
import sys
import time
import zipfile

path = sys.argv[1]
stamp = time.gmtime(int(os.environ["SOURCE_DATE_EPOCH"]))[:6]
with zipfile.ZipFile(path) as source:
    infos = sorted(source.infolist(), key=lambda info: info.filename)
    entries = [(info, source.read(info)) for info in infos]
with zipfile.ZipFile(path + ".plain", "w", zipfile.ZIP_DEFLATED, compresslevel=9) as target:
    for info, data in entries:
        plain = zipfile.ZipInfo(info.filename, stamp)
        plain.create_system = 3
        plain.external_attr = info.external_attr
        plain.compress_type = zipfile.ZIP_STORED if info.is_dir() else zipfile.ZIP_DEFLATED
        target.writestr(plain, data)
os.replace(path + ".plain", path)

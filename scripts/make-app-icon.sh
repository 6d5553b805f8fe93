#!/usr/bin/env bash
# Writes a 256 x 256 PNG icon for the app's menu entry: scripts/make-app-icon.sh SOURCE.png OUT.png
set -euo pipefail
/usr/bin/python3 - "$1" "$2" <<'PY'
import sys
from PIL import Image
source = Image.open(sys.argv[1]).convert("RGBA")
source.thumbnail((256, 256))
icon = Image.new("RGBA", (256, 256), (0, 0, 0, 0))
icon.paste(source, ((256 - source.width) // 2, (256 - source.height) // 2), source)
icon.save(sys.argv[2])
PY

# Sourced by the tool tests. Each run gets a folder of its own in $work, removed at exit, holding the
# settings and runtime folders, so the programs never touch the user's settings or another test's.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run
mkdir -m 700 "$work/run"

# pixel SHOT X Y: the colour of one pixel of a screenshot as R,G,B.
pixel() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:; }

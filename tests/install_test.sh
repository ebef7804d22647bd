#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks that the installed
# window finds its help page, that its manual names that page, that the shell
# completions and the metainfo are in place and that the desktop entry is valid.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

for f in bin/tabulon bin/tabulon-cli bin/tabulon-host share/tabulon/help-tabulon.html \
    share/applications/example.quorvane.tabulon.desktop \
    share/metainfo/example.quorvane.tabulon.metainfo.xml share/icons/hicolor/scalable/apps/tabulon.svg \
    share/icons/hicolor/16x16/apps/tabulon.png share/icons/hicolor/32x32/apps/tabulon.png \
    share/icons/hicolor/48x48/apps/tabulon.png share/man/man1/tabulon.1 share/man/man1/tabulon-cli.1 \
    share/man/man1/tabulon-host.1 share/bash-completion/completions/tabulon-cli \
    share/bash-completion/completions/tabulon-host share/zsh/vendor-completions/_tabulon-cli \
    share/zsh/vendor-completions/_tabulon-host share/fish/vendor_completions.d/tabulon-cli.fish \
    share/fish/vendor_completions.d/tabulon-host.fish share/tabulon/translations/tabulon_de.qm; do
    [[ -e $prefix/$f ]] || { echo "not installed: $f"; exit 1; }
done

# The batch program finds the collation module in the library folder.
[[ $("$prefix/bin/tabulon-cli" --no-comments --top= --bottom= --end-entry= --entry '{{FILE}} ' \
    --sort natural b A10 a2) == "a2 A10 b " ]] || { echo "installed tabulon-cli cannot sort in natural order"; exit 1; }

# It reads pictures through the decoder installed beside the modules.
pictures=$(mktemp -d)
trap 'rm -rf "$prefix" "$pictures"' EXIT
cp "$(dirname "$0")"/../examples/*.png "$pictures/"
[[ $("$prefix/bin/tabulon-cli" --no-comments --top= --bottom= --end-entry= --entry '{{THUMBWIDTH(8)}} ' \
    "$pictures"/*.png) =~ ^(8 )+$ ]] || { echo "installed tabulon-cli cannot make thumbnails"; exit 1; }

# The set-up run stores the folder that F1 and the help label open.
XDG_CONFIG_HOME=$prefix/config QT_QPA_PLATFORM=offscreen "$prefix/bin/tabulon" /setupregistry
grep -qx "Root=$prefix/share/tabulon" "$prefix/config/Tabulon/tabulon.ini" ||
    { echo "help folder not found:"; cat "$prefix/config/Tabulon/tabulon.ini"; exit 1; }

# The window's manual names the help page of the prefix it was installed to.
grep -qxF ".I $prefix/share/tabulon/help-tabulon.html" "$prefix/share/man/man1/tabulon.1" ||
    { echo "tabulon.1 names another help page:"; grep -n help-tabulon "$prefix/share/man/man1/tabulon.1"; exit 1; }

if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$prefix/share/applications/example.quorvane.tabulon.desktop"
fi
echo "installed tree is complete"

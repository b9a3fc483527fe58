#!/usr/bin/env bash
# Fails when a module includes a module its layer may not use: the module graph points down,
# and only the Qt front end sees the toolkit. Usage: layering_check.sh SOURCE_ROOT
set -u
root=${1:?source root}

# module: the modules it may include besides itself ("Qt" stands for any <Q...> header).
allowed=(
    "platform:"
    "encoder:"
    "pages:platform"
    "settings:platform"
    "update:platform"
    "infofile:pages platform"
    "render:encoder platform"
    "app:pages settings infofile update render encoder platform"
    "cli:app pages settings infofile update render encoder platform"
    "gui:app pages settings infofile update render encoder platform Qt"
)

status=0
for row in "${allowed[@]}"; do
    module=${row%%:*}
    uses=" $module ${row#*:} "
    while IFS=: read -r file line text; do
        if [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([A-Za-z0-9_]+)/ ]]; then
            used=${BASH_REMATCH[1]}
        elif [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\<Q[A-Za-z]*[\>/] ]]; then
            used=Qt
        else
            continue
        fi
        if [[ $uses != *" $used "* ]]; then
            echo "${file#"$root"/}:$line: $module/ may not include $used" >&2
            status=1
        fi
    done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include' "$root/$module" \
        --include='*.h' --include='*.cpp')
done
exit $status

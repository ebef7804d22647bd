# fish completion for tabulon-cli

complete -c tabulon-cli -s c -l config -r -F -d 'Start from a configuration file saved by the window'
complete -c tabulon-cli -s w -l width -x -d 'Entries per row'
complete -c tabulon-cli -l top -x -d 'Text before the list'
complete -c tabulon-cli -l bottom -x -d 'Text after the list'
complete -c tabulon-cli -l entry -x -d 'Text of each entry'
complete -c tabulon-cli -l end-entry -x -d 'Text after each entry'
complete -c tabulon-cli -l new-row -x -d 'Text between rows'
complete -c tabulon-cli -l comments -d 'Write comments around the list'
complete -c tabulon-cli -l no-comments -d 'Write no comments around the list'
complete -c tabulon-cli -l new-folder -x -d 'Text before the first entry of each folder'
complete -c tabulon-cli -s f -l files-from -r -F -d 'Read file names from a file (- for standard input)'
complete -c tabulon-cli -s 0 -l null -d 'Names in --files-from are separated by NUL characters'
complete -c tabulon-cli -s o -l output -r -F -d 'Write the result to a file'
complete -c tabulon-cli -l page -d 'Write a whole HTML page around the list'
complete -c tabulon-cli -l title -x -d "The page's title"
complete -c tabulon-cli -l lang -x -d "The page's language"
complete -c tabulon-cli -l relative-to -x -a '(__fish_complete_directories)' -d 'The folder the page will be in'
complete -c tabulon-cli -s r -l recursive -d 'List the files of subfolders too'
complete -c tabulon-cli -l hidden -d 'List hidden files and folders too'
complete -c tabulon-cli -l include -x -d 'List only files whose names match'
complete -c tabulon-cli -l exclude -x -d 'Leave out files whose names match'
complete -c tabulon-cli -l images -d 'List the picture types a browser shows'
complete -c tabulon-cli -l sort -x -a 'none name natural date size taken' -d 'Order of the files'
complete -c tabulon-cli -l reverse -d 'The other way round'
complete -c tabulon-cli -l thumb-dir -x -d 'The folder made beside each picture for its thumbnails'
complete -c tabulon-cli -l thumb-format -x -a 'same jpg png webp avif' -d 'Type of the thumbnails'
complete -c tabulon-cli -s j -l jobs -x -d 'Threads that make thumbnails'
complete -c tabulon-cli -l unsafe-decoding -d 'Read pictures without a sandbox where the system gives none'
complete -c tabulon-cli -l prune-thumbs -d 'Delete the thumbnails of pictures that are gone'
# The presets of the program being completed, so a build tree's own are offered.
function __tabulon_cli_presets
    set -l program (commandline -opc)[1]
    $program --list-presets 2>/dev/null
end
complete -c tabulon-cli -l preset -x -a '(__tabulon_cli_presets)' -d 'Start from a shipped preset'
complete -c tabulon-cli -l list-presets -d 'Name the shipped presets'
complete -c tabulon-cli -s h -l help -d 'Show the options'
complete -c tabulon-cli -l version -d 'Show the version'

# One line of a benchmark program's figures from its JSON output: per group of timings
# (the name before its last "/"), each timing beside the group's baseline or limit.
# Medians are taken when the run was repeated; the timer's suffix ("/real_time") and a fixed
# iteration count ("/iterations:1") are dropped.
def figure: "\((.real_time * 10 | round) / 10) \(.time_unit)";
def yardstick: test("\\((baseline|limit)");
(.benchmarks | map(select(.aggregate_name == "median"))) as $medians
| (if ($medians | length) > 0 then $medians else .benchmarks end)
| map((.run_name // .name | sub("/(real|manual|process)_time$"; "") | sub("/iterations:[0-9]+$"; "")) as $name
      | {group: ($name | sub("/[^/]*$"; "")), leaf: ($name | sub("^.*/"; "")), figure: figure})
| . as $rows
| reduce $rows[].group as $g ([]; if any(.[]; . == $g) then . else . + [$g] end)
| map(. as $g
      | ($rows | map(select(.group == $g))) as $own
      | ($own | map(select(.leaf | yardstick) | "\(.figure) \(.leaf)") | join(", ")) as $against
      | "\($g): " + ($own | map(select(.leaf | yardstick | not) | "\(.figure) \(.leaf)") | join(", "))
        + (if $against == "" then "" else " — against " + $against end))
| join("; ")

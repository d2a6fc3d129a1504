-- wrk script: full ladder cycles against quillmark-ladderd. Each wrk thread plays as its own
-- user (bench1, bench2, ...) on one connection: POST /v2/games/start with the password, solve
-- the puzzle it was dealt (here, in Lua, timed apart), POST /v2/games/finish with the
-- solution. Nothing is precomputed and no server shortcut is used: every cycle hashes the
-- password, deals a fresh puzzle and stores and closes a game, as a player's would.
--
-- Run with as many connections as threads (-c N -t N); the cycle state is per thread:
--   wrk -t4 -c4 -d30s --latency -s bench/ladder/start_finish.lua http://127.0.0.1:PORT -- PASSWORD
-- run.sh beside this file makes the users, starts the server and runs it.

local ffi = require("ffi")
local bit = require("bit")
local band, bor, bnot, lshift = bit.band, bit.bor, bit.bnot, bit.lshift

ffi.cdef [[
typedef struct { long tv_sec; long tv_nsec; } bench_timespec;
int clock_gettime(int clock, bench_timespec* now);
]]
local now_buffer = ffi.new("bench_timespec")
local function now_ms()
    ffi.C.clock_gettime(1, now_buffer) -- CLOCK_MONOTONIC
    return tonumber(now_buffer.tv_sec) * 1000 + tonumber(now_buffer.tv_nsec) / 1e6
end

-- The solver: depth-first search on the cell with the fewest candidates, with one 9-bit
-- mask of used digits per row, column and box.
local row_of, col_of, box_of = {}, {}, {}
for i = 0, 80 do
    row_of[i] = math.floor(i / 9)
    col_of[i] = i % 9
    box_of[i] = math.floor(row_of[i] / 3) * 3 + math.floor(col_of[i] / 3)
end
local bit_count, digit_of = {}, {}
for mask = 0, 511 do
    local n, m = 0, mask
    while m ~= 0 do
        n = n + band(m, 1)
        m = bit.rshift(m, 1)
    end
    bit_count[mask] = n
end
for d = 1, 9 do
    digit_of[lshift(1, d - 1)] = d
end

local function solve(puzzle)
    local cells, rows, cols, boxes = {}, {}, {}, {}
    for i = 0, 8 do
        rows[i], cols[i], boxes[i] = 0, 0, 0
    end
    for i = 0, 80 do
        local c = puzzle:byte(i + 1)
        local d = (c and c >= 49 and c <= 57) and c - 48 or 0
        cells[i] = d
        if d > 0 then
            local m = lshift(1, d - 1)
            rows[row_of[i]] = bor(rows[row_of[i]], m)
            cols[col_of[i]] = bor(cols[col_of[i]], m)
            boxes[box_of[i]] = bor(boxes[box_of[i]], m)
        end
    end
    local function search()
        local best, best_mask, best_count = -1, 0, 10
        for i = 0, 80 do
            if cells[i] == 0 then
                local free = band(bnot(bor(rows[row_of[i]], cols[col_of[i]], boxes[box_of[i]])), 511)
                local n = bit_count[free]
                if n < best_count then
                    best, best_mask, best_count = i, free, n
                    if n <= 1 then
                        break
                    end
                end
            end
        end
        if best < 0 then
            return true
        end
        local r, c, b = row_of[best], col_of[best], box_of[best]
        local m = best_mask
        while m ~= 0 do
            local low = band(m, -m)
            m = m - low
            cells[best] = digit_of[low]
            rows[r], cols[c], boxes[b] = bor(rows[r], low), bor(cols[c], low), bor(boxes[b], low)
            if search() then
                return true
            end
            rows[r], cols[c], boxes[b] = band(rows[r], bnot(low)), band(cols[c], bnot(low)),
                band(boxes[b], bnot(low))
        end
        cells[best] = 0
        return false
    end
    if not search() then
        return nil
    end
    local out = {}
    for i = 0, 80 do
        out[i + 1] = string.char(48 + cells[i])
    end
    return table.concat(out)
end

-- Threads, numbered as wrk makes them.
local threads = {}
function setup(thread)
    table.insert(threads, thread)
    thread:set("user", "bench" .. #threads)
end

local headers = { ["Content-Type"] = "application/json" }

function init(args)
    password = args[1] or "bench-password"
    phase = "start"
    game_id, solution = nil, nil
    cycles, failures, solve_ms = 0, 0, 0
    start_ms, finish_ms = {}, {}
    sent_at = 0
end

function request()
    sent_at = now_ms()
    if phase == "start" then
        return wrk.format("POST", "/v2/games/start", headers,
            string.format('{"user":"%s","password":"%s"}', user, password))
    end
    return wrk.format("POST", "/v2/games/finish", headers,
        string.format('{"user":"%s","password":"","game_id":"%s","grid":"%s"}',
            user, game_id, solution))
end

function response(status, _, body)
    local took = now_ms() - sent_at
    if phase == "start" then
        start_ms[#start_ms + 1] = took
        game_id = status == 200 and body:match('"game_id":"(%x+)"') or nil
        local puzzle = status == 200 and body:match('"puzzle":"([%.%d]+)"') or nil
        local t = now_ms()
        solution = puzzle and solve(puzzle)
        solve_ms = solve_ms + (now_ms() - t)
        if solution then
            phase = "finish"
        else
            failures = failures + 1
        end
    else
        finish_ms[#finish_ms + 1] = took
        if status == 200 and body:match('"seconds":%d+') then
            cycles = cycles + 1
        else
            failures = failures + 1
        end
        phase = "start"
    end
end

local function percentile(sorted, p)
    if #sorted == 0 then
        return 0
    end
    return sorted[math.max(1, math.ceil(#sorted * p))]
end

function done(summary, _, _)
    local all_cycles, all_failures, all_solve = 0, 0, 0
    local starts, finishes = {}, {}
    for _, thread in ipairs(threads) do
        all_cycles = all_cycles + thread:get("cycles")
        all_failures = all_failures + thread:get("failures")
        all_solve = all_solve + thread:get("solve_ms")
        for _, v in ipairs(thread:get("start_ms")) do
            starts[#starts + 1] = v
        end
        for _, v in ipairs(thread:get("finish_ms")) do
            finishes[#finishes + 1] = v
        end
    end
    table.sort(starts)
    table.sort(finishes)
    local seconds = summary.duration / 1e6
    io.write(string.format("cycles (start + finish): %d in %.1f s = %.1f cycles/s, failures %d\n",
        all_cycles, seconds, all_cycles / seconds, all_failures))
    io.write(string.format("start  latency ms: p50 %.1f  p90 %.1f  p99 %.1f  max %.1f  (n=%d)\n",
        percentile(starts, 0.5), percentile(starts, 0.9), percentile(starts, 0.99),
        percentile(starts, 1), #starts))
    io.write(string.format("finish latency ms: p50 %.2f  p90 %.2f  p99 %.2f  max %.2f  (n=%d)\n",
        percentile(finishes, 0.5), percentile(finishes, 0.9), percentile(finishes, 0.99),
        percentile(finishes, 1), #finishes))
    io.write(string.format("client-side solving: %.1f ms in all, %.2f ms per puzzle\n",
        all_solve, all_cycles > 0 and all_solve / all_cycles or 0))
end

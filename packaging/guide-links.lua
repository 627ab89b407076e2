-- Pandoc filter for the guide pages of the release package.
--
-- Metadata it reads (set by scripts/package.sh with -M):
--   packaged-pages the Markdown files (names in docs/) that become pages of
--                  the package, separated by commas
--   version        the version, for the page title
--   asset-list     a file to which the local files the page needs (its
--                  pictures and linked files other than pages) are appended,
--                  one name a line, for the packaging script to copy
--
-- What it does to the page:
--   - a link to a packaged page, "aerotrace.md#recover", becomes a link to
--     its HTML page, "aerotrace.html#recover" (and so does its text, when
--     that is the file name);
--   - a link to any other Markdown file would dangle in the package, so it
--     becomes plain text (the words of the link stay);
--   - every other local link or picture is kept and listed in asset-list;
--     one that points outside docs/ cannot be packaged and stops the build;
--   - the title is the page's first level-1 heading and the version.

local packaged = {}
local version = ""
local asset_list = nil
local title = nil

local function is_local(target)
  -- Not "scheme:", not "//host", not "/absolute", not "#in-page".
  return not (target:match("^%a[%w+.-]*:") or target:match("^/") or target:match("^#"))
end

local function split(target)
  -- "file.md#frag" -> "file.md", "#frag"; a query has no meaning for a
  -- local file and is dropped; the fragment is kept.
  local path, rest = target:match("^([^#?]*)(.*)$")
  local fragment = rest:match("(#.*)$") or ""
  return path, fragment
end

local function decode(path)
  return (path:gsub("%%(%x%x)", function(hex) return string.char(tonumber(hex, 16)) end))
end

local function normalised(path)
  path = decode(path):gsub("^%./", "")
  if path == "" or path:match("\\") or path:match("^%.%./") or path:match("/%.%./")
      or path:match("/%.%.$") or path == ".." then
    return nil  -- outside docs/ (or no file at all)
  end
  return path
end

local function record_asset(path, what)
  local name = normalised(path)
  if not name then
    error(what .. " '" .. path .. "' points outside docs/: the package cannot hold it")
  end
  local out = assert(io.open(asset_list, "a"))
  out:write(name, "\n")
  out:close()
end

local function read_meta(meta)
  local pages = meta["packaged-pages"] and pandoc.utils.stringify(meta["packaged-pages"]) or ""
  for page in pages:gmatch("[^,]+") do packaged[page] = true end
  version = meta.version and pandoc.utils.stringify(meta.version) or ""
  asset_list = meta["asset-list"] and pandoc.utils.stringify(meta["asset-list"]) or nil
  if not asset_list then error("guide-links.lua: asset-list is not set") end
end

local function link(el)
  if not is_local(el.target) then return nil end
  local path, fragment = split(el.target)
  if path:match("%.md$") then
    local name = normalised(path)
    if name and packaged[name] then
      local page = name:gsub("%.md$", ".html")
      el.target = page .. fragment
      -- A link that shows its file's name, [aerotrace.md](aerotrace.md),
      -- shows the page's.
      local shown = el.content[1]
      if #el.content == 1 and (shown.t == "Str" or shown.t == "Code") and shown.text == path then
        shown.text = page
      end
      return el
    end
    -- An unpackaged document: keep the words, drop the link, and say so.
    io.stderr:write("note: ", PANDOC_STATE.input_files[1] or "the page", ": the link to '", path,
                    "' is left as plain text: that document is not packaged\n")
    return el.content
  end
  record_asset(path, "link")
  return nil
end

local function image(el)
  if not is_local(el.src) then
    error("picture '" .. el.src .. "' is not a local file: the package must work offline")
  end
  record_asset(split(el.src), "picture")
  return nil
end

local function header(el)
  if not title and el.level == 1 then title = pandoc.utils.stringify(el.content) end
  return nil
end

local function set_title(meta)
  if not title then error("the page has no level-1 heading to take its title from") end
  meta.pagetitle = pandoc.MetaString(title .. " - Aerotrace " .. version)
  return meta
end

return {
  { Meta = read_meta },
  { Link = link, Image = image, Header = header },
  { Meta = set_title },
}

-- Drives Ardour headless (ardour7-lua, Dummy audio backend) with the LV2 plug-in, through control
-- ports only, as a session user would:
--   create SESSION_DIR EXPORT_DIR : a track with a 1 kHz sine (Ardour's SinGen) into VelbriLabs
--                                   Lumbra, four parameters set, an export, the session saved
--   reopen SESSION_DIR EXPORT_DIR : the saved session loaded again, its parameters printed, an
--                                   export as reopened and one with the output trim back at 0 dB
-- Each printed "param NAME VALUE" line is what Ardour reads back from the plug-in's port.
local mode, dir, out = arg[1], arg[2], arg[3]
local uri = "https://velbrilabs.com/plugins/lumbra"
local settings = { { 26, "Output", -12 }, { 16, "Space B", 42 }, { 22, "Echo Division", 2 }, { 3, "Low Enabled", 0 } }

local function export (session, name)
	local e = session:simple_export ()
	e:set_preset ("75969a1c-3133-4694-864b-a1fa50e43348") -- "WAV @ session-rate": 16 bit, not normalised
	e:set_folder (out)
	e:set_name (name)
	e:set_range (0, 48000)
	assert (e:run_export (), "export " .. name .. " failed")
	print ("exported " .. name)
end

local function strip_plugin (session)
	local track = session:route_by_name ("Strip")
	assert (not track:isnil (), "no track named Strip")
	for i = 0, 8 do
		local proc = track:nth_plugin (i)
		if proc:isnil () then break end
		if proc:display_name () == "VelbriLabs Lumbra" then return proc end
	end
	error ("VelbriLabs Lumbra is not on the track")
end

local function print_params (proc)
	for _, s in ipairs (settings) do
		local value, ok = ARDOUR.LuaAPI.get_processor_param (proc, s[1])
		print ("param " .. s[2] .. " " .. tostring (value))
	end
end

if mode == "create" then
	local session = create_session (dir, "lumbra", 48000)
	assert (session, "no session")
	local track = session:new_audio_track (2, 2, nil, 1, "Strip", ARDOUR.PresentationInfo.max_order,
	                                       ARDOUR.TrackMode.Normal, true, false):front ()
	local plugin = ARDOUR.LuaAPI.new_plugin (session, uri, ARDOUR.PluginType.LV2, "")
	assert (not plugin:isnil (), "Ardour does not find " .. uri)
	track:add_processor_by_index (plugin, 0, nil, true)
	-- The sine generator goes in front of it (it replaces whatever reaches it).
	track:add_processor_by_index (ARDOUR.LuaAPI.new_luaproc (session, "SinGen"), 0, nil, true)
	for _, s in ipairs (settings) do
		assert (ARDOUR.LuaAPI.set_processor_param (plugin, s[1], s[3]), "cannot set " .. s[2])
	end
	export (session, "created")
	print_params (strip_plugin (session))
	session:save_state ("", false, false, false, false, false)
	close_session ()
elseif mode == "reopen" then
	local session = load_session (dir, "lumbra")
	assert (session, "the saved session does not load")
	local plugin = strip_plugin (session)
	print_params (plugin)
	export (session, "reopened")
	assert (ARDOUR.LuaAPI.set_processor_param (plugin, 26, 0), "cannot set Output")
	export (session, "louder")
	close_session ()
else
	error ("usage: lv2-session.lua create|reopen SESSION_DIR EXPORT_DIR")
end
print ("done")

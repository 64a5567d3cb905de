// Names of the menu command numbers. The numbers are fixed (the menu table,
// the help anchors "cmd-NNNN" and the layer rule of the drawing commands
// depend on them); code and tests use these names instead of bare numbers.
//
// The drawing and editing commands exist once per layer: the thousands digit
// selects the layer (2 room, 3 audience areas, 4 AUX drawing), the last three
// digits the command. CMD_LAYER_ROOM + CMD_EDIT_MOVE == CMD_ROOM_MOVE.
#pragma once

namespace tav {

// File
constexpr int CMD_OPEN = 101;
constexpr int CMD_SAVE_AS = 102;
constexpr int CMD_PRINT = 103;
constexpr int CMD_NEW = 104;
constexpr int CMD_EXIT = 105;
constexpr int CMD_SAVE = 106;          // save under the current name
constexpr int CMD_RECENT_FIRST = 110;  // recent projects 110..113
constexpr int CMD_RECENT_LAST = 113;
constexpr int CMD_IMPORT_FACES_EASE3 = 120;
constexpr int CMD_EXPORT_FACES_EASE3 = 121;
constexpr int CMD_IMPORT_FACES_EASE2 = 122;
constexpr int CMD_EXPORT_FACES_EASE2 = 123;
constexpr int CMD_IMPORT_SPEAKERS_EASE3 = 124;
constexpr int CMD_EXPORT_SPEAKERS_EASE3 = 125;
constexpr int CMD_IMPORT_SPEAKERS_EASE2 = 126;
constexpr int CMD_EXPORT_SPEAKERS_EASE2 = 127;

// Edit
constexpr int CMD_UNDO = 201;
constexpr int CMD_REDO = 202;
constexpr int CMD_COPY_TO_CLIPBOARD = 210;

// Sent to the 3D panel after a change of view or snap state.
constexpr int CMD_PANEL_REFRESH = 400;

// Options
constexpr int CMD_CIRCLE_SEGMENTS = 506;
constexpr int CMD_SYNC_LAYERS = 507;
constexpr int CMD_NODE_SNAP_OFF = 508;
constexpr int CMD_NODE_SNAP_ON = 509;
constexpr int CMD_NODE_SNAP_WIDTH = 510;
constexpr int CMD_COORD_SNAP_OFF = 511;
constexpr int CMD_COORD_SNAP_ON = 512;
constexpr int CMD_COORD_SNAP_DISTANCE = 513;
constexpr int CMD_GRID_SIZE = 514;
constexpr int CMD_UNITS_METRES = 516;
constexpr int CMD_UNITS_FEET = 517;

// View
constexpr int CMD_ZOOM_IN = 601;
constexpr int CMD_ZOOM_ALL = 602;
constexpr int CMD_ZOOM_WINDOW = 603;
constexpr int CMD_WIREFRAME = 604;
constexpr int CMD_HIDDEN_BACKFACES = 605;
constexpr int CMD_EYE_POINT = 606;
constexpr int CMD_TOGGLE_AIM_POINTS = 608;
constexpr int CMD_TOGGLE_ROOM = 610;
constexpr int CMD_TOGGLE_AUDIENCE = 611;
constexpr int CMD_TOGGLE_SPEAKERS = 612;
constexpr int CMD_TOGGLE_AUX = 613;
constexpr int CMD_TOGGLE_GRID = 614;
constexpr int CMD_TOGGLE_NODES = 615;

// Loudspeakers
constexpr int CMD_SPEAKER_NEW = 1002;
constexpr int CMD_SPEAKER_EDIT = 1003;
constexpr int CMD_SPEAKER_LISTING = 1004;
constexpr int CMD_SPEAKER_MOVE = 1005;
constexpr int CMD_SPEAKER_COPY = 1006;
constexpr int CMD_SPEAKER_DELETE = 1007;
constexpr int CMD_SPEAKER_SWITCH_ON = 1008;
constexpr int CMD_SPEAKER_SWITCH_OFF = 1009;
constexpr int CMD_SPEAKER_ALIGN = 1010;
constexpr int CMD_SPEAKER_DELAY = 1011;
constexpr int CMD_SPEAKER_AIM_TARGET = 1012;
constexpr int CMD_SPEAKER_MIRROR = 1013;
constexpr int CMD_SPEAKER_EQUALIZER = 1014;
constexpr int CMD_SPEAKER_AIM_PERSPECTIVE = 1015;
constexpr int CMD_CLUSTER_BALLOONS = 1016;
constexpr int CMD_SPEAKER_TURN_ARRAY = 1017;
constexpr int CMD_SPEAKER_TILT_ARRAY = 1018;
constexpr int CMD_SPEAKER_BUILD_GROUP = 1019;
constexpr int CMD_SPEAKER_SPLIT_GROUP = 1020;
constexpr int CMD_SPEAKER_DATABASE = 1021;

// Layer digit of the drawing and editing commands.
constexpr int CMD_LAYER_ROOM = 2000;
constexpr int CMD_LAYER_AUDIENCE = 3000;
constexpr int CMD_LAYER_AUX = 4000;

// Drawing and editing commands, relative to their layer.
constexpr int CMD_DRAW_LINES = 201;
constexpr int CMD_DRAW_POLYGON = 202;
constexpr int CMD_DRAW_CIRCLE = 203;
constexpr int CMD_DRAW_RECTANGLE = 204;
constexpr int CMD_DRAW_TEXT = 205;
constexpr int CMD_IMPORT_GEOMETRY = 206;
constexpr int CMD_EDIT_DELETE = 301;
constexpr int CMD_EDIT_MOVE = 302;
constexpr int CMD_EDIT_COPY = 303;
constexpr int CMD_EDIT_TURN = 304;
constexpr int CMD_EDIT_SCALE = 305;
constexpr int CMD_EDIT_MIRROR = 306;
constexpr int CMD_EDIT_EXTRUDE = 307;
constexpr int CMD_EDIT_ROTATE = 308;
constexpr int CMD_EDIT_DISMANTLE_SOLID = 309;
constexpr int CMD_EDIT_ASSEMBLE_SOLID = 310;
constexpr int CMD_EDIT_MOVE_NODES = 311;
constexpr int CMD_EDIT_INSERT_NODES = 312;
constexpr int CMD_EDIT_SPLIT_FACE = 313;
constexpr int CMD_EDIT_INVERT_FACE = 314;
constexpr int CMD_EDIT_DELETE_FACE = 315;
constexpr int CMD_EDIT_BUILD_GROUP = 319;
constexpr int CMD_EDIT_SPLIT_GROUP = 320;

// Room
constexpr int CMD_ROOM_POLYLINE = CMD_LAYER_ROOM + CMD_DRAW_LINES;
constexpr int CMD_ROOM_POLYGON = CMD_LAYER_ROOM + CMD_DRAW_POLYGON;
constexpr int CMD_ROOM_CIRCLE = CMD_LAYER_ROOM + CMD_DRAW_CIRCLE;
constexpr int CMD_ROOM_RECTANGLE = CMD_LAYER_ROOM + CMD_DRAW_RECTANGLE;
constexpr int CMD_ROOM_IMPORT_GEOMETRY = CMD_LAYER_ROOM + CMD_IMPORT_GEOMETRY;
constexpr int CMD_ROOM_DELETE = CMD_LAYER_ROOM + CMD_EDIT_DELETE;
constexpr int CMD_ROOM_MOVE = CMD_LAYER_ROOM + CMD_EDIT_MOVE;
constexpr int CMD_ROOM_COPY = CMD_LAYER_ROOM + CMD_EDIT_COPY;
constexpr int CMD_ROOM_TURN = CMD_LAYER_ROOM + CMD_EDIT_TURN;
constexpr int CMD_ROOM_SCALE = CMD_LAYER_ROOM + CMD_EDIT_SCALE;
constexpr int CMD_ROOM_MIRROR = CMD_LAYER_ROOM + CMD_EDIT_MIRROR;
constexpr int CMD_ROOM_EXTRUDE = CMD_LAYER_ROOM + CMD_EDIT_EXTRUDE;
constexpr int CMD_ROOM_ROTATE = CMD_LAYER_ROOM + CMD_EDIT_ROTATE;
constexpr int CMD_ROOM_DISMANTLE_SOLID = CMD_LAYER_ROOM + CMD_EDIT_DISMANTLE_SOLID;
constexpr int CMD_ROOM_ASSEMBLE_SOLID = CMD_LAYER_ROOM + CMD_EDIT_ASSEMBLE_SOLID;
constexpr int CMD_ROOM_MOVE_NODES = CMD_LAYER_ROOM + CMD_EDIT_MOVE_NODES;
constexpr int CMD_ROOM_INSERT_NODES = CMD_LAYER_ROOM + CMD_EDIT_INSERT_NODES;
constexpr int CMD_ROOM_SPLIT_FACE = CMD_LAYER_ROOM + CMD_EDIT_SPLIT_FACE;
constexpr int CMD_ROOM_INVERT_FACE = CMD_LAYER_ROOM + CMD_EDIT_INVERT_FACE;
constexpr int CMD_ROOM_DELETE_FACE = CMD_LAYER_ROOM + CMD_EDIT_DELETE_FACE;
constexpr int CMD_ROOM_BUILD_GROUP = CMD_LAYER_ROOM + CMD_EDIT_BUILD_GROUP;
constexpr int CMD_ROOM_SPLIT_GROUP = CMD_LAYER_ROOM + CMD_EDIT_SPLIT_GROUP;
constexpr int CMD_ASSIGN_MATERIAL = 2501;
constexpr int CMD_FACE_LIST = 2502;
constexpr int CMD_BUILD_ONTOP_FACES = 2601;
constexpr int CMD_MATERIAL_DATABASE = 2801;
constexpr int CMD_EDIT_MATERIAL_DATABASE = 2802;
constexpr int CMD_ROOM_CHECK = 2803;

// Audience areas
constexpr int CMD_AUDIENCE_POLYGON = CMD_LAYER_AUDIENCE + CMD_DRAW_POLYGON;
constexpr int CMD_AUDIENCE_CIRCLE = CMD_LAYER_AUDIENCE + CMD_DRAW_CIRCLE;
constexpr int CMD_AUDIENCE_RECTANGLE = CMD_LAYER_AUDIENCE + CMD_DRAW_RECTANGLE;
constexpr int CMD_AUDIENCE_DELETE = CMD_LAYER_AUDIENCE + CMD_EDIT_DELETE;
constexpr int CMD_AUDIENCE_MOVE = CMD_LAYER_AUDIENCE + CMD_EDIT_MOVE;
constexpr int CMD_AUDIENCE_COPY = CMD_LAYER_AUDIENCE + CMD_EDIT_COPY;
constexpr int CMD_AUDIENCE_TURN = CMD_LAYER_AUDIENCE + CMD_EDIT_TURN;
constexpr int CMD_AUDIENCE_SCALE = CMD_LAYER_AUDIENCE + CMD_EDIT_SCALE;
constexpr int CMD_AUDIENCE_MIRROR = CMD_LAYER_AUDIENCE + CMD_EDIT_MIRROR;
constexpr int CMD_AUDIENCE_MOVE_NODES = CMD_LAYER_AUDIENCE + CMD_EDIT_MOVE_NODES;

// AUX drawing
constexpr int CMD_AUX_LINES = CMD_LAYER_AUX + CMD_DRAW_LINES;
constexpr int CMD_AUX_POLYGON = CMD_LAYER_AUX + CMD_DRAW_POLYGON;
constexpr int CMD_AUX_CIRCLE = CMD_LAYER_AUX + CMD_DRAW_CIRCLE;
constexpr int CMD_AUX_RECTANGLE = CMD_LAYER_AUX + CMD_DRAW_RECTANGLE;
constexpr int CMD_AUX_TEXT = CMD_LAYER_AUX + CMD_DRAW_TEXT;
constexpr int CMD_AUX_INSERT_FILE = CMD_LAYER_AUX + CMD_IMPORT_GEOMETRY;
constexpr int CMD_AUX_DELETE = CMD_LAYER_AUX + CMD_EDIT_DELETE;
constexpr int CMD_AUX_MOVE = CMD_LAYER_AUX + CMD_EDIT_MOVE;
constexpr int CMD_AUX_COPY = CMD_LAYER_AUX + CMD_EDIT_COPY;
constexpr int CMD_AUX_TURN = CMD_LAYER_AUX + CMD_EDIT_TURN;
constexpr int CMD_AUX_SCALE = CMD_LAYER_AUX + CMD_EDIT_SCALE;
constexpr int CMD_AUX_MIRROR = CMD_LAYER_AUX + CMD_EDIT_MIRROR;
constexpr int CMD_AUX_EXTRUDE = CMD_LAYER_AUX + CMD_EDIT_EXTRUDE;
constexpr int CMD_AUX_ROTATE = CMD_LAYER_AUX + CMD_EDIT_ROTATE;
constexpr int CMD_AUX_DISMANTLE_SOLID = CMD_LAYER_AUX + CMD_EDIT_DISMANTLE_SOLID;
constexpr int CMD_AUX_ASSEMBLE_SOLID = CMD_LAYER_AUX + CMD_EDIT_ASSEMBLE_SOLID;
constexpr int CMD_AUX_MOVE_NODES = CMD_LAYER_AUX + CMD_EDIT_MOVE_NODES;
constexpr int CMD_AUX_INSERT_NODES = CMD_LAYER_AUX + CMD_EDIT_INSERT_NODES;
constexpr int CMD_AUX_SPLIT_FACE = CMD_LAYER_AUX + CMD_EDIT_SPLIT_FACE;
constexpr int CMD_AUX_INVERT_FACE = CMD_LAYER_AUX + CMD_EDIT_INVERT_FACE;
constexpr int CMD_AUX_DELETE_FACE = CMD_LAYER_AUX + CMD_EDIT_DELETE_FACE;

// Calculate
constexpr int CMD_LEVEL_TIME = 5001;
constexpr int CMD_RT60_SABINE = 5010;
constexpr int CMD_RT60_EYRING = 5011;
constexpr int CMD_RT60_FITZROY = 5012;
constexpr int CMD_RT60_MEASURED = 5013;
constexpr int CMD_CALCULATE_RAYS = 5020;
constexpr int CMD_LOAD_RAY_FILE = 5021;
constexpr int CMD_SELECT_AUDIO_PROFILE = 5030;
constexpr int CMD_SELECT_WAV_INPUT = 5031;
constexpr int CMD_PROCESS_AND_PLAY = 5032;
constexpr int CMD_PLAY_INPUT = 5033;
constexpr int CMD_PLAY_OUTPUT = 5034;
constexpr int CMD_PLAY_REALTIME = 5035;
constexpr int CMD_SHOW_LAST_MAP = 5101;
constexpr int CMD_SAVE_MAP = 5102;
constexpr int CMD_LOAD_MAP = 5103;

// Help
constexpr int CMD_HELP = 11111;

}  // namespace tav

// The values of the built-in mission-script lexer definition, and the keyword lists that make up the language's vocabulary.
#include "language/MissionLexerData.h"

#include <algorithm>
#include <utility>

namespace penwick {

namespace {

// ---------------------------------------------------------------------------
// Keyword lists, in their stored order (the engine sorts its own copy).

const char* const kCompilerTargets[] = {
    "PC", "PSX",
};

const char* const kControlWords[] = {
    "AND", "DO", "DO_NOWT", "ELSE", "END", "ENDEXEC", "ENDFOR", "ENDIF", "ENDWHILE", "FALSE", "FOR",
    "FORWARD", "GOSUB", "IF", "NOT", "OR", "RETURN", "SET", "THEN", "TO", "TRUE", "WHILE",
    "WHILE_EXEC", "WHILE_TRUE",
};

const char* const kLevelBrackets[] = {
    "LEVELEND", "LEVELSTART", "MISSIONEND", "MISSIONSTART",
};

const char* const kDeclarationTypes[] = {
    "ARROW_DATA", "BONUS", "CAR_DATA", "CHAR_DATA", "CONVEYOR", "COUNTER", "CRANE_DATA", "CRUSHER",
    "DESTRUCTOR", "DOOR_DATA", "GENERATOR", "LIGHT", "MAP_ZONE", "OBJ_DATA", "ONSCREEN_COUNTER",
    "PARKED_CAR_DATA", "PLAYER_PED", "RADIO_STATION", "SAVED_COUNTER", "SOUND", "THREAD_ID",
    "THREAD_TRIGGER", "TIMER_DATA",
};

const char* const kConditionCommands[] = {
    "ARE_EMERG_LIGHTS_ON", "CHECK_ANSWERED_PHONE", "CHECK_ANY_WEAPON_TYPE_HIT_CAR",
    "CHECK_CAR_DAMAGE_LEVEL", "CHECK_CAR_DAMAGE_POSITION", "CHECK_CAR_HAS_DRIVER",
    "CHECK_CAR_MODEL", "CHECK_CAR_MODEL_AND_REMAP", "CHECK_CAR_REMAP", "CHECK_CAR_SPEED",
    "CHECK_CAR_WRECKED_IN_AREA", "CHECK_CHAR_BEEN_PUNCHED_BY", "CHECK_CHAR_CURR_WEAPON",
    "CHECK_CHARACTER_HEALTH", "CHECK_DEATHARREST_EXECUTED", "CHECK_FAIL_PHONE_TIMER",
    "CHECK_HEADS_GREATER", "CHECK_MULTIPLIER_GREATER", "CHECK_NUM_LIVES_GREATER",
    "CHECK_NUMBER_ALIVE_IN_GROUP", "CHECK_OBJ_MODEL", "CHECK_PASSENGER_COUNT",
    "CHECK_RESPECT_EQUAL", "CHECK_RESPECT_GREATER", "CHECK_RESPECT_LOWER", "CHECK_SCORE_GREATER",
    "CHECK_WEAPON_TYPE_HIT_CAR", "CHECK_WEAPON_TYPE_HIT_CHAR", "DELAY", "HAS_BONUS_FAILED",
    "HAS_BONUS_FINISHED", "HAS_BONUS_PASSED", "HAS_CAR_GOT_DRIVER", "HAS_CAR_GOT_WEAPON",
    "HAS_CAR_JUST_SUNK", "HAS_CHAR_BEEN_ARRESTED", "HAS_CHAR_JUST_SUNK", "HAS_CHAR_PUNCHED_SOMEONE",
    "HAS_CHAR_SPOTTED_PLAYER", "HAS_CHARACTER_DIED", "HAS_MODELCHECK_HAPPENED", "HAS_PARK_FINISHED",
    "IS_BRIEF_ONSCREEN", "IS_BUS_FULL", "IS_CAR_CRUSHED", "IS_CAR_IN_AIR", "IS_CAR_IN_BLOCK",
    "IS_CAR_ON_TRAILER", "IS_CAR_WRECKED", "IS_CARBOMB_ACTIVE", "IS_CHAR_CAR_CAPACITY",
    "IS_CHAR_FIRING_IN_AREA", "IS_CHAR_FIRING_ONSCREEN", "IS_CHAR_IN_AIR", "IS_CHAR_IN_GANGZONE",
    "IS_CHAR_IN_ZONE", "IS_CHAR_OBJECTIVE_FAILED", "IS_CHAR_OBJECTIVE_PASSED", "IS_CHAR_ON_FIRE",
    "IS_CHAR_PRESSING_HORN", "IS_CHAR_STUNNED", "IS_CHARACTER_IN_ANY_CAR", "IS_CHARACTER_IN_CAR",
    "IS_CHARACTER_IN_MODEL", "IS_CHARACTER_STOPPED", "IS_GROUP_IN_CAR",
    "IS_ITEM_ACCURATELY_ONSCREEN", "IS_ITEM_ONSCREEN", "IS_POINT_ONSCREEN", "IS_TRAILER_ATTACHED",
    "LOCATE_ANOTHER_CHARACTER_ANY_MEANS", "LOCATE_ANOTHER_CHARACTER_BY_CAR",
    "LOCATE_ANOTHER_CHARACTER_ON_FOOT", "LOCATE_CHARACTER_ANY_MEANS", "LOCATE_CHARACTER_BY_CAR",
    "LOCATE_CHARACTER_ON_FOOT", "LOCATE_STOPPED_CHARACTER_ANY_MEANS",
    "LOCATE_STOPPED_CHARACTER_BY_CAR", "LOCATE_STOPPED_CHARACTER_ON_FOOT",
};

const char* const kCommands[] = {
    "ADD_CHAR_TO_GANG", "ADD_EXISTING_CHAR_TO_GROUP", "ADD_GROUP_TO_CHARACTER", "ADD_LIVES",
    "ADD_MULTIPLIER", "ADD_NEW_BLOCK", "ADD_ONSCREEN_COUNTER", "ADD_PATROL_POINT", "ADD_SCORE",
    "ADD_TIME_TO_TIMER", "ALTER_WANTED_LEVEL", "ALTER_WANTED_LEVEL_NO_DROP", "ANSWER_PHONE",
    "CHANGE_BLOCK", "CHANGE_CAR_LOCK", "CHANGE_CAR_REMAP", "CHANGE_CHAR_REMAP", "CHANGE_COLOUR",
    "CHANGE_GANG_CHAR_RESPECT", "CHANGE_GANG_CHAR_RESPECT_AND_UPDATE", "CHANGE_INTENSITY",
    "CHANGE_POLICE_LEVEL", "CHANGE_RADIUS", "CLEAR_ALL_BRIEFS", "CLEAR_CAR_NO_COLLIDE",
    "CLEAR_CLOCK_ONLY", "CLEAR_KF_WEAPON", "CLEAR_ONSCREEN_COUNTER", "CLEAR_TIMER",
    "CLEAR_WANTED_LEVEL", "CLOSE_DOOR", "CREATE_CAR", "CREATE_CHAR", "CREATE_CHAR_INSIDE_CAR",
    "CREATE_DESTRUCTOR", "CREATE_GANG_CAR", "CREATE_LIGHT", "CREATE_OBJ", "CREATE_PLAYER",
    "CREATE_SOUND", "CREATE_THREAD", "DECIDE_POWERUP_FOR_CRANE", "DECLARE_CRANE_POWERUP",
    "DECLARE_DOOR_INFO", "DECLARE_FINISH_SCORE", "DECLARE_GANG_ONE_DEATH_BASE_BRIEF",
    "DECLARE_GANG_ONE_MISSION_FLAG", "DECLARE_GANG_ONE_MISSIONS_PASSED_FLAG",
    "DECLARE_GANG_ONE_MISSIONS_TOTAL", "DECLARE_GANG_THREE_DEATH_BASE_BRIEF",
    "DECLARE_GANG_THREE_MISSION_FLAG", "DECLARE_GANG_THREE_MISSIONS_PASSED_FLAG",
    "DECLARE_GANG_THREE_MISSIONS_TOTAL", "DECLARE_GANG_TWO_DEATH_BASE_BRIEF",
    "DECLARE_GANG_TWO_MISSION_FLAG", "DECLARE_GANG_TWO_MISSIONS_PASSED_FLAG",
    "DECLARE_GANG_TWO_MISSIONS_TOTAL", "DECLARE_MISSION_FLAG", "DECLARE_MISSIONS_PASSED_FLAG",
    "DECLARE_POLICELEVEL", "DECLARE_POWERUP_CARLIST", "DECLARE_SECRETS_FAILED_FLAG",
    "DECLARE_SECRETS_PASSED_FLAG", "DECLARE_TOTAL_MISSIONS", "DECLARE_TOTAL_SECRETS", "DELAY_HERE",
    "DELETE_GROUP_IN_CAR", "DELETE_ITEM", "DESTROY_GROUP", "DISABLE_CRANE",
    "DISABLE_THREAD_TRIGGER", "DISPLAY_BRIEF", "DISPLAY_BRIEF_NOW", "DISPLAY_BRIEF_SOON",
    "DISPLAY_MESSAGE", "DISPLAY_TIMER", "DO_BASIC_KF_TEMPLATE", "DO_EASY_PHONE_TEMPLATE",
    "DO_PHONE_TEMPLATE", "ENABLE_CRANE", "ENABLE_THREAD_TRIGGER", "EXPLODE", "EXPLODE_LARGE",
    "EXPLODE_NO_RING", "EXPLODE_SMALL", "EXPLODE_WALL", "FINISH_LEVEL", "FORCE_CLEANUP",
    "GET_CAR_INFO_FROM_CRANE", "GIVE_CAR_ALARM", "GIVE_DRIVER_AND_BRAKE", "GIVE_WEAPON",
    "KILL_ALL_PASSENGERS", "KILL_CHAR", "LAUNCH_MISSION", "LEVEL_END_POINT_ARROW_AT", "LOWER_LEVEL",
    "MAKE_ALL_CHARS_MUGGERS", "MAKE_CAR_A_DUMMY", "MAKE_CAR_DRIVE_AWAY", "MAKE_CHAR_DO_NOTHING",
    "MAKE_DOOR_AUTOMATIC", "MAKE_DOOR_MANUAL", "MAKE_NEW_LEADER_OF_GROUP", "MISSION_HAS_FINISHED",
    "OPEN_DOOR", "ORDER_CHAR_TO_BACKDOOR", "ORDER_CHAR_TO_DRIVE_CAR", "ORDER_DRIVER_OUT_CAR",
    "PARK", "PARK_NO_RESPAWN", "PERFORM_SAVE_GAME", "POINT_ARROW_AT", "PUT_CAR_ON_TRAILER",
    "REMOVE_ARROW", "REMOVE_BLOCK", "REMOVE_CHAR_FROM_GROUP", "REMOVE_WEAPONS", "SAVE_GAME",
    "SET_ALL_CONTROLS_STATUS", "SET_AMBIENT_LEVEL", "SET_ARROW_COLOUR", "SET_BADCAR_RATIO",
    "SET_BONUS_RATING_TEXT_ID", "SET_CAR_BULLETPROOF", "SET_CAR_EMERG_LIGHTS", "SET_CAR_FLAMEPROOF",
    "SET_CAR_JAMMED_ACCELERATOR", "SET_CAR_NO_COLLIDE", "SET_CAR_NUMBER_GRAPHIC",
    "SET_CAR_ROCKETPROOF", "SET_CARDENSITY", "SET_CARTHIEF_RATIO", "SET_CHAR_BRAVERY_LEVEL",
    "SET_CHAR_DRIVE_AGGRESSION", "SET_CHAR_GRAPHIC_TYPE", "SET_CHAR_INVINCIBLE",
    "SET_CHAR_MAX_DRIVESPEED", "SET_CHAR_MAX_RUNSPEED", "SET_CHAR_OBJECTIVE", "SET_CHAR_OCCUPATION",
    "SET_CHAR_SHOOTING_SKILL", "SET_CHAR_THREAT_REACTION", "SET_CHAR_THREAT_SEARCH",
    "SET_CHAR_TO_STAY_IN_CAR", "SET_CHAR_TO_USE_CAR_WEAPON", "SET_DEATHARREST_STATE",
    "SET_DIR_OF_TV_VANS", "SET_ELVIS_RATIO", "SET_ENTER_CONTROL_STATUS", "SET_FAVOURITE_MODEL",
    "SET_GANG_INFO", "SET_GANG_KILL_REACTION", "SET_GANG_RATIO", "SET_GOODCAR_RATIO",
    "SET_GROUP_TYPE", "SET_KF_WEAPON", "SET_MIN_MEMBERS_BEFORE_GROUP_SPLITS", "SET_MUGGER_RATIO",
    "SET_PEDDENSITY", "SET_PHONE_DEAD", "SET_POLICECAR_RATIO", "SET_POLICEPED_RATIO",
    "SET_RECYCLE_MODEL_WANTED", "SET_SHADING_LEVEL", "SET_STATION_INFO", "SETUP_MODELCHECK_DESTROY",
    "START_BASIC_KF_TEMPLATE", "START_BONUS_CHECK", "STATION_DOWNTOWN", "STATION_INDUSTRIAL",
    "STATION_KRISHNA", "STATION_LOONIE", "STATION_REDNECK", "STATION_RESIDENTIAL",
    "STATION_RUSSIAN", "STATION_SCIENTIST", "STATION_ZAIBATSU", "STATION_YAKUZA",
    "STOP_CHAR_DRIVING", "STOP_CHARS_GETTING_OFF_BUS", "STOP_PHONE", "STOP_THREAD",
    "STORE_BONUS_COUNT", "STORE_CAR_CHARACTER_IS_IN", "STORE_CAR_CURRENT_SPEED",
    "STORE_CHAR_CAR_CURRENT_SPEED", "STORE_LAST_CHAR_PUNCHED", "STORE_MAX_CAR_SPEED",
    "STORE_MULTIPLIER", "STORE_NUM_LIVES", "STORE_SCORE", "SUPPRESS_THIS_CAR_MODEL",
    "SWITCH_GENERATOR", "SWITCH_ROAD", "TAKE_REMOTE_CONTROL_OF_CAR", "THREAD_WAIT_FOR_ANSWER_PHONE",
    "THREAD_WAIT_FOR_CHAR_IN_AREA", "THREAD_WAIT_FOR_CHAR_IN_AREA_ANY_MEANS",
    "THREAD_WAIT_FOR_CHAR_IN_BLOCK", "THREAD_WAIT_FOR_CHAR_IN_CAR", "UPDATE_DOOR_TARGET",
    "WARP_FROM_CAR_TO_POINT",
};

const char* const kConstants[] = {
    "ALFA", "ALLARD", "AMDB4", "ANIMATING_OIL", "ANIMATING_RUBBISH", "ANTENNA", "ANY_CAR",
    "ANY_ELVIS", "ANY_EMERGENCY_SERVICE_MAN", "ANY_GANG_MEMBER", "ANY_LAW_ENFORCEMENT",
    "ANY_PLAYER", "ANY_PLAYER_ONE_CAR", "APC", "AREA", "AREA_PLAYER_ONLY", "ARMY", "AVERAGE",
    "BANK_ALARM", "BANK_ROBBER", "BANKVAN", "BAR", "BAR_2", "BENCH", "BIG_BROWN_SKID",
    "BIG_GREY_SKID", "BIG_RED_SKID", "BIG_WHITE_SKID", "BIN", "BIN_LID", "BLASTER", "BLOOD",
    "BLOOD_SPARK", "BLUE", "BMW", "BOLLARD", "BOMB", "BOMB_SHOP", "BOMB_TICK", "BOMB_TICK_SHIT",
    "BONUS_TOKEN", "BOTTOM", "BOWLING_ALLEY", "BOXCAR", "BOXES", "BOXTRUCK", "BRIEFCASE", "BUG",
    "BUG2", "BUICK", "BULLET", "BURNT1", "BURNT2", "BUS", "BUSH", "BY_ANY_FOOT_WEAPON",
    "BY_ANY_WEAPON", "BY_CAR_BOMB", "BY_DROWNING", "BY_ELECTRO_WEAPON", "BY_EXPLOSION", "BY_FIRE",
    "BY_FLAMETHROWER", "BY_GRENADE", "BY_GUN", "BY_MOLOTOV", "BY_PUNCH", "BY_ROCKET_LAUNCHER",
    "BY_SHOTGUN", "BY_WATER_CANNON", "CAR", "CAR_BOMB", "CAR_BOMB_INSTANT", "CAR_CROSSING",
    "CAR_FLAMETHROWER", "CAR_MACHINE_GUN", "CAR_MINE", "CAR_OIL", "CAR_SHOP", "CAR_STOP",
    "CARTHIEF", "CHAIN", "CHAR", "CHURCH_SINGING", "CLOCK_TOWER", "CLOSE_NEVER", "CLOSE_TIME_DELAY",
    "CLOSE_WHEN_CLEAR", "CLOSE_WHEN_OPEN_RULE_FAILS", "COLLECT_00", "COLLECT_01", "COLLECT_02",
    "COLLECT_03", "COLLECT_04", "COLLECT_05", "COLLECT_06", "COLLECT_07", "COLLECT_08",
    "COLLECT_09", "COLLECT_10", "COLLECT_11", "COLLECT_12", "COLLECT_13", "COLLECT_14",
    "COLLECT_15", "COLLECT_16", "COLLECT_17", "COLLECT_18", "COLLECT_19", "COLLECT_20",
    "COLLECT_21", "COLLECT_22", "COLLECT_23", "COLLECT_24", "COLLECT_25", "COLLECT_26",
    "COLLECT_27", "COLLECT_28", "COLLECT_29", "COLLECT_30", "COLLECT_31", "COLLECT_32",
    "COLLECT_33", "COLLECT_34", "COLLECT_35", "COLLECT_36", "COLLECT_37", "COLLECT_38",
    "COLLECT_39", "COLLECT_40", "COLLECT_41", "COLLECT_42", "COLLECT_43", "COLLECT_44", "CONE",
    "COPCAR", "COUNTRY_CLUB", "COWARD", "CRACK_SHOT", "CRAP_SHOT", "CRATE", "CRICKETS", "CRIMINAL",
    "CRIMINAL_TYPE1", "CRIMINAL_TYPE2", "CROSS", "CROWD_NOISE", "CRYING", "DART", "DEAD_RUBBISH",
    "DESTROY_CAR", "DESTROY_OBJECT", "DETECTED_MUMBLE", "DISGRACELAND", "DOUBLE", "DRIVER", "DRONE",
    "DUAL_PISTOL", "DUMMY", "DUMMY_GRAPHIC", "EDSEL", "EDSELFBI", "ELECTRO_BATON", "ELECTRO_GUN",
    "ELVIS", "ELVIS_LEADER", "EMERG_GRAPHIC", "ENTER_CAR_AS_DRIVER", "ENTER_CAR_AS_PASSENGER",
    "EXCLUSIVE", "F250", "FAN_NOISE", "FBI", "FBIBLOCK", "FIAT", "FIRE",
    "FIRE_AT_OBJECT_FROM_VEHICLE", "FIREJET", "FIREMAN", "FIRETRUK", "FIRST", "FLAME_THROWER",
    "FLAT", "FLEE_CHAR_ON_FOOT_ALWAYS", "FLEE_CHAR_ON_FOOT_TILL_SAFE", "FLEE_ON_FOOT_TILL_SAFE",
    "FLIP", "FLIP_LEFT", "FLIP_RIGHT", "FOLLOW_CAR_IN_CAR", "FOOTY", "FOURTH", "FUNNY_FARM",
    "GANG_DUMPED", "GANG_GRAPHIC", "GANG_LOCKED_IN_BUS", "GARAGE_CLOSE", "GARAGE_OPEN",
    "GENERATOR_LOSE_POWER", "GENERATOR_RUMBLE", "GENLITE", "GOTO_AREA_IN_CAR", "GOTO_AREA_ON_FOOT",
    "GOTO_CHAR_ON_FOOT", "GRAHAM", "GRAVE", "GREEN", "GREEN_PHONE", "GREEN_PHONE_RINGING",
    "GRENADE", "GT24640", "GT90", "GTRUCK", "GUARD", "GUARD_AGAINST_PLAYER", "GUARD_AREA",
    "GUARD_SPOT", "GUNJEEP", "HARDBOX", "HOTDOG", "HUGE_BROWN_SKID", "HUGE_GREY_SKID",
    "HUGE_RED_SKID", "HUGE_WHITE_SKID", "HUMAN_ABATTOIR", "HYDRANT", "HYDRANT_LID", "HYDRANT_UNLID",
    "ICECREAM", "INDUSTRIAL_HIGH", "INDUSTRIAL_HIGHT", "INDUSTRIAL_LOW", "INVISIBLE_DEAD",
    "INVISIBLE_DESTRUCTIBLE", "INVISIBLE_TARGET", "ISETLIMO", "ISETTA", "JAZZ_CLUB", "JEEP",
    "JEEP_GUN", "JEFFREY", "KILL_CHAR_ANY_MEANS", "KILL_CHAR_ON_FOOT", "KILL_FRENZY",
    "KRISHNA_CHANT", "KRSNABUS", "LEAVE_CAR", "LEFT", "LET_ME_OUT", "LID", "LIMO", "LIMO2",
    "LINE_OF_SIGHT", "LINE_OF_SIGHT_PLAYER_ONLY", "LOCKED", "LOCKED_PERMANENTLY", "LOCKOUT_PLAYER",
    "LOCKOUT_THIEF", "LOONY", "MACHINE_GUN", "MACHINEGUN_SHOP", "MEDICAR", "MEDIUM_BROWN_SKID",
    "MEDIUM_GREY_SKID", "MEDIUM_RED_SKID", "MEDIUM_WHITE_SKID", "MERC", "MESSER", "MICROWAVE",
    "MINE", "MINES_SHOP", "MINI_CAR", "MIURA", "MOB", "MOLOTOV", "MONSTER", "MORGAN", "MORRIS",
    "MOVING_BIN", "MOVING_BIN_LID", "MOVING_COLLECT_00", "MOVING_COLLECT_01", "MOVING_COLLECT_02",
    "MOVING_COLLECT_03", "MOVING_COLLECT_04", "MOVING_COLLECT_05", "MOVING_COLLECT_06",
    "MOVING_COLLECT_07", "MOVING_COLLECT_08", "MOVING_COLLECT_09", "MOVING_COLLECT_10",
    "MOVING_COLLECT_11", "MOVING_COLLECT_12", "MOVING_COLLECT_13", "MOVING_COLLECT_14",
    "MOVING_COLLECT_15", "MOVING_COLLECT_16", "MOVING_COLLECT_17", "MOVING_COLLECT_18",
    "MOVING_COLLECT_19", "MOVING_COLLECT_20", "MOVING_COLLECT_21", "MOVING_COLLECT_22",
    "MOVING_COLLECT_23", "MOVING_COLLECT_24", "MOVING_COLLECT_25", "MOVING_COLLECT_26",
    "MOVING_COLLECT_27", "MOVING_COLLECT_28", "MOVING_COLLECT_29", "MOVING_COLLECT_30",
    "MOVING_COLLECT_31", "MOVING_COLLECT_32", "MOVING_COLLECT_33", "MOVING_COLLECT_34",
    "MOVING_COLLECT_35", "MOVING_COLLECT_36", "MOVING_COLLECT_37", "MOVING_COLLECT_38",
    "MOVING_COLLECT_39", "MOVING_COLLECT_40", "MOVING_COLLECT_41", "MOVING_COLLECT_42",
    "MOVING_COLLECT_43", "MOVING_COLLECT_44", "MOVING_CONE", "MUGGER", "MUMBLE", "NEWSDIS",
    "NIGHT_CLUB", "NO_HOMECRANE", "NO_LOCK", "NO_OBJ", "NO_OCCUPATION", "NO_REACTION", "NO_ZONE",
    "NO_THREATS", "NO_TRAIN", "NONE", "NORMAL_SHOT", "NOT_BULLET", "NOT_EXCLUSIVE", "NOT_FLAT",
    "NOT_FLIP", "NOT_FLIPPED", "NOT_REVERSED", "NOT_WALL", "OFF", "OIL", "OILDRUM", "OILSLICK_SHOP",
    "ON", "ONE_CAR", "ONE_CHAR_ON_FOOT", "ONE_MODEL", "PACKAGE", "PHONE", "PHONE_DEAD",
    "PHONE_RINGING", "PICKUP", "PISTOL", "PLAY_FOREVER", "PLAY_INSTANT", "POISONED", "POLICE",
    "PORTA_LOO", "POWER_PLANT", "POWERGEN", "POWERGEN_DEAD", "PRISON", "PRISON_ALARM",
    "PRISON_RIOT", "PRISON_YARD", "PSYCHO", "PYLON", "REACT_AS_NORMAL", "RED", "RED_FOOTPRINTS",
    "RED_PHONE", "RED_PHONE_RINGING", "REFUGEES", "REMOTE", "REVERSED", "RIGHT",
    "ROAD_BLOCK_TANK_MAN", "ROADBLOCK", "ROCKET", "ROCKET_FAIL_LAUGH", "ROCKET_LAUNCH_FAIL_CLICK",
    "ROCKET_LAUNCHER", "RTYPE", "RUBBISH", "RUN_AWAY", "SCREAM", "SECOND", "SHOPPING_MALL",
    "SHOTGUN", "SIDE", "SILENCED_MACHINE_GUN", "SINGLE", "SKID", "SKYLINE", "SMALL_ARROW",
    "SMALL_BROWN_SKID", "SMALL_GREY_SKID", "SMALL_RED_SKID", "SMALL_WHITE_SKID", "SMUG_LAUGH",
    "SPECIAL_GROUP_MEMBER", "SPIDER", "SPRITE", "STAND_STILL_BLOKE", "STINGRAY", "STRATOS",
    "STRATOSB", "STRIP_CLUB", "STRIPETB", "STYPE", "STYPECAB", "SWAT", "SWATVAN", "ZCX5", "T2000GT",
    "TANK", "TANK_DRIVER", "TANK_GUN", "TANKER", "TANKTOP", "TAXI", "TBIRD", "TEMPLE_2",
    "TEMPLE_CHANT", "THIRD", "TOP", "TOWER", "TOWTRUCK", "TRAFFIC_LIGHT", "TRAIN", "TRAINCAB",
    "TRAINFB", "TRANCEAM", "TRUKCAB1", "TRUKCAB2", "TRUKCONT", "TRUKTRNS", "TUNNEL_BLOCKER",
    "TVVAN", "TYPE", "TYRE", "UNLOCKED", "WAIT_IN_CAR", "WAIT_ON_FOOT", "WALL", "VAN", "VAT",
    "WATER_CANNON", "WATERFALL", "WBTWIN", "VESPA", "WIND", "WORKSHOP", "WRECK0", "WRECK1",
    "WRECK2", "WRECK3", "WRECK4", "WRECK5", "WRECK6", "WRECK7", "WRECK8", "WRECK9", "VTYPE",
    "XK120", "YEEHA_BOMB", "YELLOW", "YELLOW_PHONE", "YELLOW_PHONE_RINGING",
};

// Tag lists of one entry, for the conditional-block rules.
const char* const kIfdefMask[] = {"\\#ifdef"};  // a pattern: "#ifdef" at the token start
const char* const kEndif[] = {"#endif"};

// ---------------------------------------------------------------------------
// Token rule expressions, character for character. Line breaks inside an
// expression are CR LF; the extended syntax ignores them.

constexpr const char* kCrLf = "\r\n";

std::string VariablesExpression() { return R"re([a-z_]\w*)re"; }
std::string StringExpression() { return std::string(R"re('.*?('|$))re") + kCrLf; }
std::string FloatExpression() {
  return std::string(R"re(#with exp. dot is optional )re") + kCrLf +
         R"re(\d+ \.? \d+ e [\+\-]? \d+ |)re" + kCrLf +
         R"re(#without exp. dot is required)re" + kCrLf +
         R"re(\d+ \. \d+)re";
}
std::string IntegerExpression() { return R"re(\d+)re"; }
std::string PreprocessorExpression() { return R"re(\#.*)re"; }
std::string BlockCommentExpression() { return std::string(R"re((?s)/\*.*?(\*/|\Z))re") + kCrLf; }
std::string LineCommentExpression() { return R"re(//.*)re"; }
std::string HexExpression() { return R"re(\$[a-f\d]+)re"; }
std::string SymbolExpression() { return R"re([/\*,\.;:\(\)=<>\+\-\[\]])re"; }
std::string CharExpression() { return R"re(\#(\d+|\$[\da-f]+))re"; }

// ---------------------------------------------------------------------------
// Builders for the collections.

// Every mission style is Courier New 10 pt with no background; only the
// name, colour, font style and flag set differ.
TMissionFormatData Format(const char* name, std::uint32_t color, std::uint32_t style,
                          std::uint32_t flags) {
  TMissionFormatData f;
  f.DisplayName = name;
  f.Font.Color = color;
  f.Font.Style = style;
  f.FormatFlags = flags;
  return f;
}

std::vector<TMissionFormatData> Formats() {
  const std::uint32_t bold = MissionBit(TMissionFontStyle::fsBold);
  const std::uint32_t italic = MissionBit(TMissionFontStyle::fsItalic);
  const std::uint32_t regular = 0;
  return {
      Format("Compiler Enums", MissionRgb(0x80, 0x80, 0xC0), bold, kMissionFlagsSix),
      Format("Control Structures", MissionRgb(0x38, 0x54, 0x5F), bold, kMissionFlagsSix),
      Format("Compiler Directives", MissionRgb(0x00, 0x00, 0x00), bold, kMissionFlagsSix),
      Format("Preprocessor", MissionRgb(0x00, 0x80, 0x00), italic, kMissionFlagsSix),
      Format("Game Loops", MissionRgb(0x00, 0x00, 0x00), bold, kMissionFlagsSix),
      Format("Data Types", MissionRgb(0x00, 0x00, 0xFF), bold, kMissionFlagsSix),
      Format("Boolean Functions", MissionRgb(0x00, 0x00, 0x00), bold, kMissionFlagsSix),
      Format("Functions", MissionRgb(0x00, 0x00, 0x00), bold, kMissionFlagsSix),
      Format("Enums", MissionRgb(0x80, 0x00, 0x00), bold, kMissionFlagsSix),
      Format("Comments", MissionRgb(0x00, 0x73, 0x00), regular, kMissionFlagsAll),
      Format("Integers", MissionRgb(0x00, 0x00, 0x80), regular, kMissionFlagsAll),
      Format("Floats", MissionRgb(0x00, 0x80, 0x80), regular, kMissionFlagsAll),
      Format("Variables", MissionRgb(0x80, 0x80, 0x80), regular, kMissionFlagsAll),
      Format("Default Color", MissionRgb(0x00, 0x00, 0x00), regular, kMissionFlagsAll),
  };
}

TMissionTokenRuleData TokenRule(const char* name, const char* style, int tokenType,
                                std::string expression, bool alwaysEnabled = false) {
  TMissionTokenRuleData r;
  r.DisplayName = name;
  r.StyleName = style;
  r.TokenType = tokenType;
  r.Expression = std::move(expression);
  r.AlwaysEnabled = alwaysEnabled;
  return r;
}

// Order is precedence: identifiers first, Float before Integer, the
// preprocessor line before the character constant.
std::vector<TMissionTokenRuleData> TokenRules() {
  return {
      TokenRule("Variables", "Variables", mttIdentifier, VariablesExpression()),
      TokenRule("String", "", mttString, StringExpression()),
      TokenRule("Float", "Floats", mttFloat, FloatExpression()),
      TokenRule("Integer", "Integers", mttInteger, IntegerExpression()),
      TokenRule("Preprocessor", "Preprocessor", mttPreprocessor, PreprocessorExpression()),
      TokenRule("Comment 1", "Comments", mttComment, BlockCommentExpression()),
      TokenRule("Comment 3", "Comments", mttComment, LineCommentExpression(), true),
      TokenRule("HEX", "", mttHex, HexExpression()),
      TokenRule("Symbol", "Default Color", mttSymbol, SymbolExpression()),
      TokenRule("Char", "", mttChar, CharExpression()),
  };
}

TMissionConditionData Condition(TMissionTagList tags, std::uint32_t tokenTypes,
                                bool ignoreCase,
                                TMissionCondType condType = TMissionCondType::tcEqual) {
  TMissionConditionData c;
  c.TagList = tags;
  c.CondType = condType;
  c.TokenTypes = tokenTypes;
  c.IgnoreCase = ignoreCase;
  return c;
}

// A keyword rule: claims an identifier listed in `words` for `style`.
TMissionBlockRuleData TagDetect(const char* name, const char* style, TMissionTagList words) {
  TMissionBlockRuleData r;
  r.DisplayName = name;
  r.StyleName = style;
  r.BlockType = TMissionBlockType::btTagDetect;
  r.ConditionList = {Condition(words, MissionTypeBit(mttIdentifier), true)};
  return r;
}

std::vector<TMissionBlockRuleData> BlockRules() {
  const std::uint32_t preprocessorBit = MissionTypeBit(mttPreprocessor);
  const std::uint32_t commentBit = MissionTypeBit(mttComment);

  // A preprocessor line starting with #ifdef opens a foldable range that the
  // next #endif closes; folded, it shows its opening line.
  TMissionBlockRuleData ifdef;
  ifdef.DisplayName = "#ifdef";
  ifdef.BlockType = TMissionBlockType::btRangeStart;
  ifdef.ConditionList = {Condition(kIfdefMask, preprocessorBit, true, TMissionCondType::tcMask)};
  ifdef.BlockEnd = "#endif";
  ifdef.DisplayInTree = false;
  ifdef.CollapseFmt = "%s0";

  TMissionBlockRuleData endif;
  endif.DisplayName = "#endif";
  endif.BlockType = TMissionBlockType::btRangeEnd;
  endif.ConditionList = {Condition(kEndif, preprocessorBit, true)};

  // A run of consecutive comment tokens makes one range: a comment opens one
  // only when no such range is open, and the first token after the run that
  // is not a comment closes it at the last comment.
  TMissionBlockRuleData comment;
  comment.DisplayName = "Block comment";
  comment.StyleName = "Comments";
  comment.BlockName = "Block comment";
  comment.NotParent = true;
  comment.BlockType = TMissionBlockType::btRangeStart;
  comment.ConditionList = {Condition({}, commentBit, false)};
  comment.BlockEnd = "Block comment end";
  comment.DisplayInTree = false;

  TMissionBlockRuleData commentEnd;
  commentEnd.DisplayName = "Block comment end";
  commentEnd.BlockType = TMissionBlockType::btRangeEnd;
  commentEnd.BlockOffset = 1;
  commentEnd.ConditionList = {Condition({}, commentBit, false, TMissionCondType::tcNotEqual),
                              Condition({}, commentBit, false)};

  return {
      TagDetect("CompilerEnums", "Compiler Enums", kCompilerTargets),
      TagDetect("Control Structs", "Control Structures", kControlWords),
      ifdef,
      endif,
      comment,
      commentEnd,
      TagDetect("Game Loops", "Game Loops", kLevelBrackets),
      TagDetect("Data Types", "Data Types", kDeclarationTypes),
      TagDetect("Boolean Functions", "Boolean Functions", kConditionCommands),
      TagDetect("Functions", "Functions", kCommands),
      TagDetect("Enums", "Enums", kConstants),
  };
}

TMissionCodeTemplateData Template(const char* name, const char* description,
                                  std::vector<std::string> code) {
  TMissionCodeTemplateData t;
  t.Name = name;
  t.Description = description;
  t.Code = std::move(code);
  return t;
}

// The templates travel with the definition and are inserted by no command;
// their bodies are small mission-script skeletons in the spirit of each name.
std::vector<TMissionCodeTemplateData> CodeTemplates() {
  return {
      Template("be", "begin end", {"LEVELSTART", "", "LEVELEND"}),
      Template("arrayd", "array declaration (var)",
               {"COUNTER counter_1 = 0", "COUNTER counter_2 = 0", "COUNTER counter_3 = 0"}),
      Template("arrayc", "array declaration (const)",
               {"SAVED_COUNTER saved_1 = 0", "SAVED_COUNTER saved_2 = 0"}),
      Template("cases", "case statement",
               {"IF ( counter_1 = 1 )", "    DO_NOWT", "ENDIF", "IF ( counter_1 = 2 )",
                "    DO_NOWT", "ENDIF"}),
      Template("casee", "case statement (with else)",
               {"IF ( counter_1 = 1 )", "    DO_NOWT", "ELSE", "    DO_NOWT", "ENDIF"}),
      Template("classf", "class declaration (all parts)",
               {"PLAYER_PED p1 = ( 127.5 , 127.5 , 255.0 ) 25 180",
                "PARKED_CAR_DATA car_1 = ( 128.5 , 127.5 , 255.0 ) 02 180 VTYPE",
                "COUNTER loop = 1"}),
      Template("classd", "class declaration (no parts)", {"OBJ_DATA obj_1"}),
      Template("classc", "class declaration (with Create/Destroy overrides)",
               {"CAR_DATA car_1", "car_1 = CREATE_CAR ( 130.5 , 130.5 , 255.0 ) 0 180 TAXI END",
                "DELETE_ITEM ( car_1 )"}),
      Template("fors", "for (no begin/end)",
               {"WHILE ( counter_1 < 10 )", "    ADD_SCORE ( p1 , 10 )", "ENDWHILE"}),
      Template("forb", "for statement",
               {"WHILE_EXEC ( counter_1 < 10 )", "    ADD_SCORE ( p1 , 10 )", "ENDWHILE"}),
      Template("function", "function declaration",
               {"routine_1:", "    DO_NOWT", "RETURN"}),
      Template("ifs", "if (no begin/end)",
               {"IF ( IS_CHARACTER_IN_ANY_CAR ( p1 ) )", "    DO_NOWT", "ENDIF"}),
      Template("ifb", "if statement",
               {"IF ( CHECK_CAR_HAS_DRIVER ( car_1 ) )", "    DO_NOWT", "ENDIF"}),
      Template("ife", "if then (no begin/end) else (no begin/end)",
               {"IF ( HAS_CHARACTER_DIED ( p1 ) )", "    DO_NOWT", "ELSE", "    DO_NOWT",
                "ENDIF"}),
      Template("ifeb", "if then else",
               {"IF ( IS_CAR_WRECKED ( car_1 ) )", "    DO_NOWT", "ELSE", "    DO_NOWT",
                "ENDIF"}),
      Template("procedure", "procedure declaration",
               {"routine_1:", "    DO_NOWT", "RETURN", "", "GOSUB ( routine_1 )"}),
      Template("trye", "try except",
               {"IF ( HAS_CHAR_BEEN_ARRESTED ( p1 ) )", "    DISPLAY_MESSAGE ( 1000 )", "ENDIF"}),
      Template("tryf", "try finally",
               {"MISSIONSTART", "    DO_NOWT", "MISSIONEND"}),
      Template("trycf", "try finally (with Create/Free)",
               {"MISSIONSTART", "    car_1 = CREATE_CAR ( 130.5 , 130.5 , 255.0 ) 0 180 TAXI END",
                "    DELETE_ITEM ( car_1 )", "MISSIONEND"}),
      Template("whileb", "while statement",
               {"WHILE_EXEC ( loop = 1 )", "    DO_NOWT", "ENDWHILE"}),
      Template("whiles", "while (no begin)",
               {"WHILE ( loop = 1 )", "    DO_NOWT", "ENDWHILE"}),
      Template("withb", "with statement",
               {"SET_CHAR_OBJECTIVE ( p1 , GOTO_AREA_ON_FOOT , 128.5 , 128.5 , 255.0 )"}),
      Template("withs", "with (no begin)", {"SET_CHAR_INVINCIBLE ( p1 , ON )"}),
      Template("prop", "property", {"SET_CAR_BULLETPROOF ( car_1 , ON )"}),
  };
}

TMissionLexerData BuildMissionLexerData() {
  TMissionLexerData d;
  d.Formats = Formats();
  d.TokenRules = TokenRules();
  d.BlockRules = BlockRules();
  d.CodeTemplates = CodeTemplates();
  d.SampleText = {"levelstart"};
  d.TokenTypeNames = {"Unknown",       "Comment",     "Identifier", "Symbol",
                      "String",        "Integer const", "Float const", "Hex const",
                      "Char const",    "Preprocessor"};
  d.Gramma = {"skip = <Comment>;", "", "FuncName = <Identifier>;", "",
              "FuncPathName = FuncName ('=' FuncName)*;"};
  d.Extentions = "mis";
  d.LexerName = "VarnokMis";
  d.LineComment = "//";
  d.AlwaysSyncBlockAnal = true;
  return d;
}

template <typename T>
const T* FindByName(const std::vector<T>& items, const std::string& name) {
  auto it = std::find_if(items.begin(), items.end(),
                         [&](const T& item) { return item.DisplayName == name; });
  return it == items.end() ? nullptr : &*it;
}

}  // namespace

std::string TMissionLexerData::GrammaText() const {
  std::string text;
  for (std::size_t i = 0; i < Gramma.size(); ++i) {
    if (i > 0) text += kCrLf;
    text += Gramma[i];
  }
  return text;
}

const TMissionFormatData* TMissionLexerData::FindFormat(const std::string& name) const {
  return FindByName(Formats, name);
}

const TMissionTokenRuleData* TMissionLexerData::FindTokenRule(const std::string& name) const {
  return FindByName(TokenRules, name);
}

const TMissionBlockRuleData* TMissionLexerData::FindBlockRule(const std::string& name) const {
  return FindByName(BlockRules, name);
}

const TMissionLexerData& MissionLexerData() {
  static const TMissionLexerData data = BuildMissionLexerData();
  return data;
}

TMissionTagList MissionCompilerTargets() { return kCompilerTargets; }
TMissionTagList MissionControlWords() { return kControlWords; }
TMissionTagList MissionLevelBrackets() { return kLevelBrackets; }
TMissionTagList MissionDeclarationTypes() { return kDeclarationTypes; }
TMissionTagList MissionConditionCommands() { return kConditionCommands; }
TMissionTagList MissionCommands() { return kCommands; }
TMissionTagList MissionConstants() { return kConstants; }

}  // namespace penwick
